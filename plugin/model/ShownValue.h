// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class CNvCtrlTable;

// How a field's value is shown, so that a shown value is never one the
// window itself would refuse: values converted between unit systems land
// between the steps of the other system's limits and lists.
namespace rules {

// The text a field's box shows: its Value(). Rounded to the field's step
// beyond a limit of `unitSystem`, it shows the unrounded value when that lies
// inside, and the limit when the value lies less than a step beyond it (a
// limit of the other unit system converted: 99.97 ºF is 37.76 ºC against
// 37.5). A value further out is shown as it is: the device holds it.
QString shownValue(const CNvCtrlTable& field, qint16 unitSystem);

// The item of a list of numbers that `text` stands for when the list does
// not hold it as written: the nearest, when it is less than half a degree
// away (a deadband of 2 ºF reads 1.11 ºC, shown as "1"). Nothing when the
// list holds the text, when the text or the list is no number, or when no
// item is near.
std::optional<QString> listItemFor(const QString& text, const QStringList& items);

} // namespace rules
