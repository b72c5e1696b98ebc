// SPDX-License-Identifier: Apache-2.0
#include "model/NumberText.h"

#include "model/RoundToStep.h"
#include "model/RuntimeErrors.h"

#include <QRegularExpression>
#include <charconv>
#include <optional>
#include <string>

namespace rules {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype skipBlanks(const QString& text, qsizetype position) {
    while (position < text.size() && text.at(position).isSpace())
        ++position;
    return position;
}

// A number read from some position: its sign, and the digits with their
// point from `begin` to `end`.
struct NumberSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    bool negative = false;
    bool hasDigits = false;
    bool wholePartIsZero = true;
};

NumberSpan numberAt(const QString& text, qsizetype position) {
    NumberSpan span;
    if (position < text.size() && (text.at(position) == u'-' || text.at(position) == u'+')) {
        span.negative = text.at(position) == u'-';
        ++position;
    }
    span.begin = position;
    span.end = position;
    qsizetype& at = span.end;
    for (; at < text.size() && isDigit(text.at(at)); ++at) {
        span.hasDigits = true;
        span.wholePartIsZero = span.wholePartIsZero && text.at(at) == u'0';
    }
    if (at < text.size() && text.at(at) == u'.') {
        ++at;
        for (; at < text.size() && isDigit(text.at(at)); ++at)
            span.hasDigits = true;
    }
    return span;
}

// The span's number; nothing when it is too large for a double. A number
// too small for one is 0.
std::optional<double> valueOf(const QString& text, const NumberSpan& span) {
    if (!span.hasDigits)
        return 0.0;
    const std::string digits = text.mid(span.begin, span.end - span.begin).toStdString();
    double magnitude = 0;
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(),
                                               magnitude, std::chars_format::fixed);
    if (status == std::errc::result_out_of_range) {
        if (!span.wholePartIsZero)
            return std::nullopt;
        magnitude = 0;
    }
    return span.negative ? -magnitude : magnitude;
}

} // namespace

double leadingNumber(const QString& text) {
    const NumberSpan span = numberAt(text, skipBlanks(text, 0));
    const std::optional<double> number = valueOf(text, span);
    if (!number)
        throw RuntimeErrors::overflow(QStringLiteral("leadingNumber"));
    return *number;
}

bool isNumeric(const QString& text) {
    const NumberSpan span = numberAt(text, skipBlanks(text, 0));
    return span.hasDigits && skipBlanks(text, span.end) == text.size() &&
           valueOf(text, span).has_value();
}

double writtenValue(double number) {
    return QByteArray::number(number, 'e', 14).toDouble();
}

QString numberText(double number) {
    return shortestText(writtenValue(number));
}

std::optional<int> minutesOfDay(const QString& text) {
    static const QRegularExpression time(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch match = time.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return hours * 60 + minutes;
}

bool isPlaceholder(const QString& text) {
    return text.trimmed() == u'?';
}

} // namespace rules
