// SPDX-License-Identifier: Apache-2.0
#include "FieldTexts.h"

#include "ConfigurationFields.h"
#include "model/NumberText.h"

namespace {

constexpr int MinutesPerDay = 24 * 60;

} // namespace

// The scheduler's times of day are the only values kept in minutes.
bool isTimeOfDay(const PlacedField& placed) {
    return placed.placement.unit == ValueUnit::Minutes;
}

QString fileText(const PlacedField& placed, const QString& deviceText) {
    bool whole = false;
    const int minutes = deviceText.toInt(&whole);
    if (!isTimeOfDay(placed) || !whole || deviceText != QString::number(minutes) || minutes < 0 ||
        minutes >= MinutesPerDay)
        return deviceText;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString deviceText(const PlacedField& placed, const QString& fileText) {
    if (!isTimeOfDay(placed))
        return fileText;
    const std::optional<int> minutes = rules::minutesOfDay(fileText);
    return minutes ? QString::number(*minutes) : fileText;
}
