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

// Collects what the rules do, in the order they run.
class Rules {
public:
    explicit Rules(const QString& deadband) : m_deadband(deadband) {}

    void raiseCooling(const QString& heat, const QString& cool, int coolBox) {
        if (skippedFor({heat, cool, m_deadband}, coolBox, deadbandReason()) ||
            !deadbandBroken(leadingNumber(heat), leadingNumber(cool), leadingNumber(m_deadband)))
            return;
        add(coolBox, numberText(finite(leadingNumber(heat) + leadingNumber(m_deadband))),
            deadbandReason());
    }
    void lowerHeating(const QString& heat, const QString& cool, int heatBox) {
        if (skippedFor({heat, cool, m_deadband}, heatBox, deadbandReason()) ||
            !deadbandBroken(leadingNumber(heat), leadingNumber(cool), leadingNumber(m_deadband)))
            return;
        add(heatBox, numberText(finite(leadingNumber(cool) - leadingNumber(m_deadband))),
            deadbandReason());
    }
    void heatingToMaximum(const QString& heat, const QString& maximum, int heatBox) {
        if (skippedFor({heat, maximum}, heatBox, maxHeatReason()) ||
            !(leadingNumber(heat) > leadingNumber(maximum)))
            return;
        add(heatBox, maximum, maxHeatReason());
    }
    void coolingToMinimum(const QString& cool, const QString& minimum, int coolBox) {
        if (skippedFor({cool, minimum}, coolBox, minCoolReason()) ||
            !(leadingNumber(cool) < leadingNumber(minimum)))
            return;
        add(coolBox, minimum, minCoolReason());
    }
    RuleOutcome outcome() { return std::move(m_outcome); }

private:
    bool skippedFor(std::initializer_list<QString> operands, int target, const QString& reason) {
        for (const QString& operand : operands) {
            if (isPlaceholder(operand)) {
                m_outcome.skipped.push_back({target, reason});
                return true;
            }
        }
        return false;
    }
    void add(int target, const QString& text, const QString& reason) {
        m_outcome.adjustments.push_back({target, text, reason});
    }

    QString m_deadband;
    RuleOutcome m_outcome;
};

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

RuleOutcome outcomeLeavingTextBox(int index, const SetpointTexts& texts) {
    // Every number is read before any adjustment, so an overflow changes nothing.
    Rules rules(texts.deadband);
    switch (index) {
    case OccHeatBox:
        rules.raiseCooling(texts.occHeat, texts.occCool, OccCoolBox);
        break;
    case UnoccHeatBox:
        rules.raiseCooling(texts.unoccHeat, texts.unoccCool, UnoccCoolBox);
        break;
    case OccCoolBox:
        rules.lowerHeating(texts.occHeat, texts.occCool, OccHeatBox);
        break;
    case UnoccCoolBox:
        rules.lowerHeating(texts.unoccHeat, texts.unoccCool, UnoccHeatBox);
        break;
    case MaxHeatBox:
        rules.heatingToMaximum(texts.occHeat, texts.maxHeat, OccHeatBox);
        rules.heatingToMaximum(texts.unoccHeat, texts.maxHeat, UnoccHeatBox);
        break;
    case MinCoolBox:
        rules.coolingToMinimum(texts.occCool, texts.minCool, OccCoolBox);
        rules.coolingToMinimum(texts.unoccCool, texts.minCool, UnoccCoolBox);
        break;
    default:
        break;
    }
    return rules.outcome();
}

RuleOutcome outcomeLeavingComboBox(int index, const SetpointTexts& texts) {
    Rules rules(texts.deadband);
    if (index == DeadbandComboBox) {
        rules.lowerHeating(texts.occHeat, texts.occCool, OccHeatBox);
        rules.lowerHeating(texts.unoccHeat, texts.unoccCool, UnoccHeatBox);
    }
    return rules.outcome();
}

std::vector<Adjustment> adjustmentsLeavingTextBox(int index, const SetpointTexts& texts) {
    return outcomeLeavingTextBox(index, texts).adjustments;
}

std::vector<Adjustment> adjustmentsLeavingComboBox(int index, const SetpointTexts& texts) {
    return outcomeLeavingComboBox(index, texts).adjustments;
}

} // namespace rules
