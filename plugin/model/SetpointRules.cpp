// SPDX-License-Identifier: Apache-2.0
#include "model/SetpointRules.h"

#include "model/NumberText.h"
#include "model/RuntimeErrors.h"

#include <cmath>
#include <optional>

namespace rules {

namespace {

enum Box : int {
    OccHeatBox = 0,
    UnoccHeatBox = 1,
    OccCoolBox = 2,
    UnoccCoolBox = 3,
    MaxHeatBox = 4,
    MinCoolBox = 6,
};
constexpr int DeadbandComboBox = 2;

double finite(double result) {
    if (!std::isfinite(result))
        throw RuntimeErrors::overflow(QStringLiteral("setpoint rules"));
    return result;
}

// Whether cooling sits less than the deadband above heating, comparing the
// difference as written so that an exact deadband is never off by a bit. The
// device holds hundredths of a degree Celsius, so a pair set exactly one
// deadband apart in Fahrenheit reads back up to a hundredth short (80 is held
// as 80.01): that is the same pair, not a broken one.
bool deadbandBroken(double heat, double cool, double deadband) {
    constexpr double HeldShortfall = 0.015;
    return writtenValue(deadband - writtenValue(finite(cool - heat))) > HeldShortfall;
}

// The setpoint pair of one period and the deadband, read from the texts.
struct Pair {
    double heat;
    double cool;
    double deadband;
};

Pair pairOf(const QString& heat, const QString& cool, const QString& deadband) {
    return {leadingNumber(heat), leadingNumber(cool), leadingNumber(deadband)};
}

std::optional<Adjustment> raiseCooling(const Pair& pair, int coolBox) {
    if (!deadbandBroken(pair.heat, pair.cool, pair.deadband))
        return std::nullopt;
    return Adjustment{coolBox, numberText(finite(pair.heat + pair.deadband)), deadbandReason()};
}

std::optional<Adjustment> lowerHeating(const Pair& pair, int heatBox) {
    if (!deadbandBroken(pair.heat, pair.cool, pair.deadband))
        return std::nullopt;
    return Adjustment{heatBox, numberText(finite(pair.cool - pair.deadband)), deadbandReason()};
}

std::optional<Adjustment> heatingToMaximum(const QString& heat, const QString& maximum,
                                           int heatBox) {
    if (!(leadingNumber(heat) > leadingNumber(maximum)))
        return std::nullopt;
    return Adjustment{heatBox, maximum, maxHeatReason()};
}

std::optional<Adjustment> coolingToMinimum(const QString& cool, const QString& minimum,
                                           int coolBox) {
    if (!(leadingNumber(cool) < leadingNumber(minimum)))
        return std::nullopt;
    return Adjustment{coolBox, minimum, minCoolReason()};
}

// The adjustments that apply, in the order given (braced lists evaluate
// left to right).
std::vector<Adjustment> applying(std::initializer_list<std::optional<Adjustment>> candidates) {
    std::vector<Adjustment> adjustments;
    for (const auto& candidate : candidates)
        if (candidate)
            adjustments.push_back(*candidate);
    return adjustments;
}

} // namespace

QString deadbandReason() {
    return QStringLiteral("The deadband limitation was not respected.");
}

QString maxHeatReason() {
    return QStringLiteral("Heating maximum limit was not respected.");
}

QString minCoolReason() {
    return QStringLiteral("Cooling minimum limit was not respected.");
}

QString adjustmentMessage(const QString& reason) {
    return reason + QStringLiteral("\r\n\r\nAdjustment where made");
}

std::vector<Adjustment> adjustmentsLeavingTextBox(int index, const SetpointTexts& texts) {
    switch (index) {
    case OccHeatBox:
        return applying(
            {raiseCooling(pairOf(texts.occHeat, texts.occCool, texts.deadband), OccCoolBox)});
    case UnoccHeatBox:
        return applying(
            {raiseCooling(pairOf(texts.unoccHeat, texts.unoccCool, texts.deadband), UnoccCoolBox)});
    case OccCoolBox:
        return applying(
            {lowerHeating(pairOf(texts.occHeat, texts.occCool, texts.deadband), OccHeatBox)});
    case UnoccCoolBox:
        return applying(
            {lowerHeating(pairOf(texts.unoccHeat, texts.unoccCool, texts.deadband), UnoccHeatBox)});
    case MaxHeatBox:
        return applying({heatingToMaximum(texts.occHeat, texts.maxHeat, OccHeatBox),
                         heatingToMaximum(texts.unoccHeat, texts.maxHeat, UnoccHeatBox)});
    case MinCoolBox:
        return applying({coolingToMinimum(texts.occCool, texts.minCool, OccCoolBox),
                         coolingToMinimum(texts.unoccCool, texts.minCool, UnoccCoolBox)});
    default:
        return {};
    }
}

std::vector<Adjustment> adjustmentsLeavingComboBox(int index, const SetpointTexts& texts) {
    if (index != DeadbandComboBox)
        return {};
    return applying(
        {lowerHeating(pairOf(texts.occHeat, texts.occCool, texts.deadband), OccHeatBox),
         lowerHeating(pairOf(texts.unoccHeat, texts.unoccCool, texts.deadband), UnoccHeatBox)});
}

} // namespace rules
