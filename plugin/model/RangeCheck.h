// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <optional>

// The range check that Apply runs on each edited value box.
namespace rules {

// How far a value sitting on a limit is moved inside: 0.025 in Imperial
// (1), 0.05 in Metric (0), so the device never sees the limit itself.
double limitOffset(int unitSystem);

struct RangeResult {
    // The text the box shows afterwards: the limit text when out of range.
    QString shownText;
    // The text stored into the field: the shown text, or the limit moved
    // inside by the offset when the field asks for it and the shown text is
    // the limit's text character for character.
    QString storedText;
    // The out-of-range message, when the value was out of range.
    std::optional<QString> message;
};

// Checks `text` against the field's limit texts; a value equal to a limit
// is in range. `description` names the field in the message; `offsetValue`
// asks for the limit offset. Fails with the overflow error when a text is
// beyond the range of a double.
RangeResult checkRange(const QString& text, const QString& description, const QString& maxLimit,
                       const QString& minLimit, bool offsetValue, int unitSystem);

} // namespace rules
