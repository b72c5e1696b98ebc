// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <optional>

class CNvCtrlTable;

// Whether the device can hold a text exactly as a field's item: the one rule
// the window and rm42-config check typed texts with before anything is sent,
// so that no text the device would refuse or round is ever written.
namespace rules {

// Why the device cannot hold `text` as the item of `field` exactly as given
// (a decimal where it holds whole numbers, too long a text, a character it
// has no code for); nothing when it can.
std::optional<QString> heldTextRefusal(const CNvCtrlTable& field, const QString& text);

// What the field takes, for the user, in the unit system `unitSystem`:
// "Password takes a whole number from 0 to 1000".
QString acceptedTexts(const CNvCtrlTable& field, qint16 unitSystem);

} // namespace rules
