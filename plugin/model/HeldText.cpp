// SPDX-License-Identifier: Apache-2.0
#include "model/HeldText.h"

#include "model/CNvCtrlTable.h"
#include "model/NumberText.h"
#include "platform/Error.h"

namespace rules {

namespace {

const QString TextFormat = QStringLiteral("SNVT_str_asc");
const QString ScheduleFormat = QStringLiteral("UCPTdaySched");
// The standard text type holds 31 bytes, the last one its end.
constexpr int TextCharacters = 30;

bool holds(const CNvCtrlTable& field, const QString& text) {
    return !heldTextRefusal(field, text);
}

QString numbersTaken(const CNvCtrlTable& field, qint16 unitSystem) {
    const QString minimum = field.MinLimit(unitSystem);
    const QString maximum = field.MaxLimit(unitSystem);
    const QString range = QStringLiteral("from %1 to %2").arg(minimum, maximum);
    // The device's own type says whether it holds fractions.
    if (!holds(field, numberText(leadingNumber(minimum) + 0.5)))
        return QStringLiteral("a whole number ") + range;
    if (field.RoundValue)
        return QStringLiteral("a number %1 in steps of %2").arg(range, numberText(field.Ceiling));
    return QStringLiteral("a number ") + range;
}

} // namespace

std::optional<QString> heldTextRefusal(const CNvCtrlTable& field, const QString& text) {
    try {
        if (!field.NvCpTable)
            return QStringLiteral("the field has no value");
        field.NvCpTable->EncodedItem(field.ItemArrayIndex, text);
        return std::nullopt;
    } catch (const Error& error) {
        return error.description();
    }
}

QString acceptedTexts(const CNvCtrlTable& field, qint16 unitSystem) {
    const QString format = field.NvCpTable ? field.NvCpTable->Format : QString();
    QString taken;
    if (format == TextFormat)
        taken = QStringLiteral("up to %1 plain ASCII characters (letters, digits, punctuation, "
                               "blanks)")
                    .arg(TextCharacters);
    else if (format == ScheduleFormat)
        taken = QStringLiteral("a time of day from 0:00 to 23:59, or its minutes from %1 to %2")
                    .arg(field.MinLimit(unitSystem), field.MaxLimit(unitSystem));
    else
        taken = numbersTaken(field, unitSystem);
    return field.Description + QStringLiteral(" takes ") + taken;
}

} // namespace rules
