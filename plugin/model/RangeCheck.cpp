// SPDX-License-Identifier: Apache-2.0
#include "model/RangeCheck.h"

#include "model/NumberText.h"

namespace rules {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// `bound` is "maximum" or "minimum"; a limit that is not negative is
// written after a blank, as numbers print with room for their sign.
QString outOfRangeMessage(const QString& description, const QString& bound, double limit) {
    return description + QStringLiteral(" out of range") + LineBreak + LineBreak +
           QStringLiteral("The %1 allowed value is: ").arg(bound) +
           (limit >= 0 ? QStringLiteral(" ") : QString()) + numberText(limit) + LineBreak +
           LineBreak + QStringLiteral("The value has been adjusted");
}

QString storedText(const QString& shownText, const QString& maxLimit, const QString& minLimit,
                   bool offsetValue, int unitSystem) {
    if (offsetValue && shownText == maxLimit)
        return numberText(leadingNumber(maxLimit) - limitOffset(unitSystem));
    if (offsetValue && shownText == minLimit)
        return numberText(leadingNumber(minLimit) + limitOffset(unitSystem));
    return shownText;
}

} // namespace

double limitOffset(int unitSystem) {
    return unitSystem == 0 ? 0.05 : 0.025;
}

RangeResult checkRange(const QString& text, const QString& description, const QString& maxLimit,
                       const QString& minLimit, bool offsetValue, int unitSystem) {
    RangeResult result{text, text, std::nullopt};
    const double value = leadingNumber(text);
    const double maximum = leadingNumber(maxLimit);
    if (value > maximum) {
        result.shownText = maxLimit;
        result.message = outOfRangeMessage(description, QStringLiteral("maximum"), maximum);
    } else if (const double minimum = leadingNumber(minLimit); value < minimum) {
        result.shownText = minLimit;
        result.message = outOfRangeMessage(description, QStringLiteral("minimum"), minimum);
    }
    result.storedText = storedText(result.shownText, maxLimit, minLimit, offsetValue, unitSystem);
    return result;
}

} // namespace rules
