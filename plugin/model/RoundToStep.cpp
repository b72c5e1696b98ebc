// SPDX-License-Identifier: Apache-2.0
#include "model/RoundToStep.h"

#include "model/RuntimeErrors.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

bool isDecimalNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return number.match(text).hasMatch();
}

} // namespace

double RoundToStep(const QString& value, double step) {
    if (!isDecimalNumber(value))
        return 0;
    const double quotient = QLocale::c().toDouble(value.trimmed()) / step;
    const double rounded = std::nearbyint(quotient); // default rounding mode: halves to even
    // Also rejects infinity and the NaN of 0 / 0.
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max()))
        throw RuntimeErrors::overflow(QStringLiteral("RoundToStep"));
    return static_cast<qint32>(rounded) * step;
}

QString shortestText(double number) {
    if (number == 0)
        return QStringLiteral("0"); // never "-0"
    return QLocale::c().toString(number, 'f', QLocale::FloatingPointShortest);
}
