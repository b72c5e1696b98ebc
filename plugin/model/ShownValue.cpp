// SPDX-License-Identifier: Apache-2.0
#include "model/ShownValue.h"

#include "model/CNvCtrlTable.h"
#include "model/NumberText.h"

#include <cmath>

namespace rules {

namespace {

// How far a converted value may lie from the limit or item it stands for.
constexpr double ConversionSlack = 0.5;

bool hasLimits(const CNvCtrlTable& field, qint16 unitSystem) {
    return field.MinLimit(unitSystem) != field.MaxLimit(unitSystem);
}

} // namespace

QString shownValue(const CNvCtrlTable& field, qint16 unitSystem) {
    const QString shown = field.Value();
    if (!field.NvCpTable || !field.NvCpTable->IsKnown(field.ItemArrayIndex) ||
        !hasLimits(field, unitSystem) || !isNumeric(shown))
        return shown;
    const double minimum = leadingNumber(field.MinLimit(unitSystem));
    const double maximum = leadingNumber(field.MaxLimit(unitSystem));
    const double value = leadingNumber(shown);
    if (value >= minimum && value <= maximum)
        return shown;
    const QString item = field.NvCpTable->NvAsArray().value(field.ItemArrayIndex);
    const double held = isNumeric(item) ? leadingNumber(item) : value;
    if (held >= minimum && held <= maximum)
        return numberText(held);
    const double slack =
        field.RoundValue ? std::max(field.Ceiling, ConversionSlack) : ConversionSlack;
    if (held > maximum && held - maximum < slack)
        return field.MaxLimit(unitSystem);
    if (held < minimum && minimum - held < slack)
        return field.MinLimit(unitSystem);
    return shown;
}

std::optional<QString> listItemFor(const QString& text, const QStringList& items) {
    if (items.contains(text) || !isNumeric(text))
        return std::nullopt;
    const double value = leadingNumber(text);
    std::optional<QString> nearest;
    double distance = ConversionSlack;
    for (const QString& item : items) {
        if (!isNumeric(item))
            return std::nullopt;
        const double away = std::abs(leadingNumber(item) - value);
        if (away < distance) {
            distance = away;
            nearest = item;
        }
    }
    return nearest;
}

} // namespace rules
