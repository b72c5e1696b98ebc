// SPDX-License-Identifier: Apache-2.0
#include "model/KeyRules.h"

#include "model/NumberText.h"

#include <cmath>

namespace rules {

bool acceptsCharacter(int index, QChar character) {
    if (index == LocationBox)
        return true;
    return (character >= u'0' && character <= u'9') || character == u'.' || character == u'-' ||
           character == u':' || character == QChar(8);
}

double stepFor(int modifiers) {
    if (modifiers == 0)
        return 0.5;
    if (modifiers == Shift)
        return 10;
    if (modifiers & Alt)
        return 1;
    return 0;
}

double roundedToTenths(double number) {
    const double written = writtenValue(number);
    // From 1e15 on, 15 significant digits hold no decimals.
    if (std::abs(written) >= 1e15)
        return written;
    // Tenths as a decimal: a decimal half is a binary half exactly, so the
    // default rounding (halves to even) of nearbyint applies to it.
    return std::nearbyint(writtenValue(written * 10)) / 10;
}

std::optional<QString> steppedText(const QString& text, bool up, int modifiers) {
    if (!isNumeric(text))
        return std::nullopt;
    const double step = stepFor(modifiers);
    return numberText(roundedToTenths(leadingNumber(text) + (up ? step : -step)));
}

} // namespace rules
