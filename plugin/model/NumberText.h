// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <optional>

// Numbers as the configuration window reads and writes them.
namespace rules {

// The leading decimal number of the text: leading blanks skipped, an
// optional sign, digits with an optional "." and digits; reading stops at
// the first character that cannot continue the number and gives 0 when
// there is none ("21.5 x" is 21.5, "abc" is 0). Fails with the overflow
// error when the number lies beyond the range of a double.
double leadingNumber(const QString& text);

// True when the whole text, blanks around it allowed, is one number: an
// optional sign, digits with an optional decimal point, within the range of
// a double ("", "--" and "07:30" are not).
bool isNumeric(const QString& text);

// The number rounded to 15 significant digits: the value that numberText
// writes, so that comparisons see 16.9 - 15.4 as the 1.5 the user reads.
double writtenValue(double number);

// The shortest decimal text (at most 15 significant digits, never an
// exponent) of the number: "23", "18.5", "34.95" for 35 - 0.05.
QString numberText(double number);

// Whether the text stands for a value that could not be read ("?").
bool isPlaceholder(const QString& text);

// A time of day typed as "H:MM" or "HH:MM" (0:00 to 23:59) as minutes of the
// day, the form the scheduler values take ("07:30" is 450); nothing for any
// other text.
std::optional<int> minutesOfDay(const QString& text);

} // namespace rules
