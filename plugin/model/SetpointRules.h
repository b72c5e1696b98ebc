// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <vector>

// The rules that keep the heating and cooling setpoints apart by the
// deadband and inside the heating maximum and cooling minimum limits.
namespace rules {

// The texts the setpoint rules read, each as the window shows it.
struct SetpointTexts {
    QString occHeat;   // txtNvi(0)
    QString unoccHeat; // txtNvi(1)
    QString occCool;   // txtNvi(2)
    QString unoccCool; // txtNvi(3)
    QString maxHeat;   // txtNvi(4)
    QString minCool;   // txtNvi(6)
    QString deadband;  // cbNvi(2)
};

// One adjustment: text box `target` gets `text`; the user is told `reason`.
struct Adjustment {
    int target = 0;
    QString text;
    QString reason;
};

// A rule that did not run because a value it reads is unknown ("?", not
// read): it would have adjusted box `target` for `reason`.
struct SkippedRule {
    int target = 0;
    QString reason;
};

// What leaving a box does: the adjustments, and the rules left undone.
struct RuleOutcome {
    std::vector<Adjustment> adjustments;
    std::vector<SkippedRule> skipped;
};

// The reasons, as the user reads them.
QString deadbandReason();
QString maxHeatReason();
QString minCoolReason();

// The message shown for an adjustment: reason, an empty line, and
// "Adjustment where made".
QString adjustmentMessage(const QString& reason);

// The adjustments, in order, when the user leaves text box `index`; empty
// for boxes without a rule. An equal value is accepted: a difference equal
// to the deadband as the user reads the numbers, a setpoint on its limit.
// A changed setpoint moves the other side by the deadband; a changed limit
// gets its own text, unchanged, in the setpoints beyond it.
// Fails with the overflow error, before any adjustment, when a text read is
// beyond the range of a double or a sum or difference overflows.
std::vector<Adjustment> adjustmentsLeavingTextBox(int index, const SetpointTexts& texts);

// The adjustments when the user leaves combo box `index`: only the
// deadband box, 2, has a rule, which lowers both heating setpoints where
// needed. Fails as adjustmentsLeavingTextBox does.
std::vector<Adjustment> adjustmentsLeavingComboBox(int index, const SetpointTexts& texts);

// The same with the rules that could not run: a rule whose operand is
// unknown changes nothing, never computing a value from a placeholder.
RuleOutcome outcomeLeavingTextBox(int index, const SetpointTexts& texts);
RuleOutcome outcomeLeavingComboBox(int index, const SetpointTexts& texts);

} // namespace rules
