// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QChar>
#include <QString>
#include <optional>

// What the keys do in the value boxes of the configuration window.
namespace rules {

// Modifier bits as the handlers receive them.
enum Modifier : int { Shift = 1, Ctrl = 2, Alt = 4 };

// The location box, the one free-text box.
constexpr int LocationBox = 51;

// Whether a typed character goes into text box `index`; the location box
// takes everything, the others digits, ".", "-", ":" and backspace.
bool acceptsCharacter(int index, QChar character);

// The Page Up / Page Down step for a modifier state: none 0.5, exactly
// Shift 10, anything else with Alt 1, anything else 0.
double stepFor(int modifiers);

// The number rounded to one decimal, halves to the even digit, as the
// decimal the user reads: 0.25 gives 0.2 and 0.35 gives 0.4.
double roundedToTenths(double number);

// The new text of a box after Page Up (up = true) or Page Down: its number
// plus or minus the step, rounded to one decimal with halves to even.
// Nothing when the text is not numeric; never fails.
std::optional<QString> steppedText(const QString& text, bool up, int modifiers);

} // namespace rules
