// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FormatItem.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace lns::sim {

namespace {

constexpr double FahrenheitPerCelsius = 1.8;
constexpr double FahrenheitAtZeroCelsius = 32.0;

qint64 readInteger(const QByteArray& raw, int size, bool isSigned) {
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<quint8>(raw.at(i));
    const int bits = size * 8;
    if (isSigned && (value & (quint64{1} << (bits - 1))))
        return static_cast<qint64>(value) - (qint64{1} << bits);
    return static_cast<qint64>(value);
}

QByteArray writeInteger(qint64 value, int size) {
    QByteArray raw(size, '\0');
    auto bits = static_cast<quint64>(value);
    for (int i = size - 1; i >= 0; --i) {
        raw[i] = static_cast<char>(bits & 0xFF);
        bits >>= 8;
    }
    return raw;
}

// Optional sign and decimal digits only, so "1e3", "0x10" and "12.5" are refused.
std::optional<qint64> strictInteger(const QString& text) {
    const int start =
        (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) ? 1 : 0;
    if (text.size() == start || text.size() - start > 15)
        return std::nullopt;
    for (int i = start; i < text.size(); ++i) {
        if (!text.at(i).isDigit() || text.at(i).unicode() > 0x7F)
            return std::nullopt;
    }
    return text.toLongLong();
}

std::optional<double> decimalNumber(const QString& text) {
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Half away from zero; the nudge keeps decimal halves such as 99.975 * 100,
// stored as 9997.4999..., rounding the way the text reads.
double roundToRaw(double scaled) {
    const double nudge = 1e-9 * std::max(1.0, std::abs(scaled));
    return std::round(scaled + std::copysign(nudge, scaled));
}

QString numberText(double value, int decimals, bool fixedDecimals) {
    QString text = QString::number(value, 'f', decimals);
    if (!fixedDecimals && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    // "-0.00" after rounding is shown without its sign.
    const bool roundsToZero = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('-') || c == QLatin1Char('0') || c == QLatin1Char('.');
    });
    return roundsToZero && text.startsWith(QLatin1Char('-')) ? text.mid(1) : text;
}

QString shownNumber(const FormatItem& item, qint64 raw, UnitSystem units) {
    const LinearScale& scale = item.scale(units);
    return numberText(static_cast<double>(raw) * scale.factor + scale.offset, item.decimals,
                      item.fixedDecimals);
}

bool isPlainInteger(const FormatItem& item) {
    return item.decimals == 0 && item.metric.factor == 1.0 && item.metric.offset == 0.0 &&
           item.imperial.factor == 1.0 && item.imperial.offset == 0.0;
}

std::optional<double> rawFromText(const FormatItem& item, const QString& text, UnitSystem units) {
    if (isPlainInteger(item)) {
        const auto value = strictInteger(text);
        return value ? std::optional<double>(static_cast<double>(*value)) : std::nullopt;
    }
    const auto value = decimalNumber(text);
    if (!value)
        return std::nullopt;
    const LinearScale& scale = item.scale(units);
    return roundToRaw((*value - scale.offset) / scale.factor);
}

QByteArray parseNumber(const FormatItem& item, const QString& text, UnitSystem units) {
    const auto raw = rawFromText(item, text, units);
    if (!raw)
        failFormatting(QStringLiteral("\"%1\" is not a number.").arg(text));
    if (*raw < static_cast<double>(item.rawMin) || *raw > static_cast<double>(item.rawMax)) {
        failFormatting(QStringLiteral("\"%1\" is out of range (%2 to %3).")
                           .arg(text, shownNumber(item, item.rawMin, units),
                                shownNumber(item, item.rawMax, units)));
    }
    return writeInteger(static_cast<qint64>(*raw), item.size);
}

QByteArray parseEnumeration(const FormatItem& item, const QString& text) {
    const qsizetype index = item.names.indexOf(text);
    if (index < 0) {
        failFormatting(QStringLiteral("\"%1\" is not one of %2.")
                           .arg(text, item.names.join(QStringLiteral(", "))));
    }
    return writeInteger(item.rawMin + index, item.size);
}

QByteArray parseVersion(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    QByteArray raw;
    for (const QString& part : parts) {
        const auto number = strictInteger(part);
        if (parts.size() != 2 || !number || part.startsWith(QLatin1Char('-')) ||
            part.startsWith(QLatin1Char('+')) || *number > 255) {
            failFormatting(
                QStringLiteral("\"%1\" is not a version (major.minor, each 0 to 255).").arg(text));
        }
        raw.append(static_cast<char>(*number));
    }
    return raw;
}

// Digits with an optional minus and decimal part: how the item writes numbers.
bool isPlainDecimal(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return plain.match(text).hasMatch();
}

// Whether every step of the scale is a number of `decimals` decimals, so
// that a text naming a value between steps asks for what cannot be held.
bool stepsAreDecimal(const LinearScale& scale, int decimals) {
    const double unit = std::pow(10.0, decimals);
    const auto whole = [](double value) { return std::abs(value - std::round(value)) < 1e-9; };
    return whole(scale.factor * unit) && whole(scale.offset * unit);
}

void requireExactNumber(const FormatItem& item, const QString& text, const QByteArray& raw,
                        UnitSystem units) {
    if (!isPlainDecimal(text) || (isPlainInteger(item) && text.contains(QLatin1Char('.'))))
        failFormatting(
            QStringLiteral("\"%1\" is not written as the device writes numbers.").arg(text));
    const LinearScale& scale = item.scale(units);
    if (!stepsAreDecimal(scale, item.decimals))
        return;
    const double held =
        static_cast<double>(readInteger(raw, item.size, item.isSigned)) * scale.factor +
        scale.offset;
    if (std::abs(held - text.toDouble()) > 1e-9 * std::max(1.0, std::abs(held)))
        failFormatting(QStringLiteral("\"%1\" is not held exactly; the nearest value is %2.")
                           .arg(text, numberText(held, item.decimals, item.fixedDecimals)));
}

FormatItem number(int size, bool isSigned, LinearScale metric, LinearScale imperial, int decimals,
                  qint64 rawMin, qint64 rawMax) {
    FormatItem item;
    item.size = size;
    item.isSigned = isSigned;
    item.metric = metric;
    item.imperial = imperial;
    item.decimals = decimals;
    item.rawMin = rawMin;
    item.rawMax = rawMax;
    return item;
}

} // namespace

void failFormatting(const QString& description) {
    throw Error::lns(Code::FormatFailed, QStringLiteral("FormatEngine"), description);
}

namespace items {

FormatItem integer(int size, qint64 min, qint64 max) {
    return number(size, min < 0, {}, {}, 0, min, max);
}

FormatItem stepped(int size, double step, int decimals, qint64 rawMin, qint64 rawMax) {
    return number(size, false, {step, 0.0}, {step, 0.0}, decimals, rawMin, rawMax);
}

FormatItem celsiusHundredths() {
    FormatItem item =
        number(2, true, {0.01, 0.0}, {0.01 * FahrenheitPerCelsius, FahrenheitAtZeroCelsius}, 2,
               -32768, 32767);
    item.fixedDecimals = true;
    return item;
}

FormatItem fahrenheitTenths() {
    return number(2, true,
                  {0.1 / FahrenheitPerCelsius, -FahrenheitAtZeroCelsius / FahrenheitPerCelsius},
                  {0.1, 0.0}, 2, -32768, 32767);
}

FormatItem fahrenheitTenthsDifference(qint64 rawMin, qint64 rawMax) {
    return number(2, true, {0.1 / FahrenheitPerCelsius, 0.0}, {0.1, 0.0}, 2, rawMin, rawMax);
}

FormatItem enumeration(const QStringList& names, int first) {
    FormatItem item;
    item.kind = FormatItem::Kind::Enumeration;
    item.isSigned = first < 0;
    item.rawMin = first;
    item.rawMax = first + names.size() - 1;
    item.names = names;
    return item;
}

FormatItem version() {
    FormatItem item;
    item.kind = FormatItem::Kind::Version;
    item.size = 2;
    return item;
}

} // namespace items

QByteArray parseItemExactly(const FormatItem& item, const QString& text, UnitSystem units) {
    const QByteArray raw = parseItem(item, text, units);
    if (item.kind == FormatItem::Kind::Number)
        requireExactNumber(item, text, raw, units);
    else if (item.kind == FormatItem::Kind::Version && formatItem(item, raw, units) != text)
        failFormatting(
            QStringLiteral("\"%1\" is not written as the device writes versions.").arg(text));
    return raw;
}

QString formatItem(const FormatItem& item, const QByteArray& raw, UnitSystem units) {
    if (item.kind == FormatItem::Kind::Version) {
        return QStringLiteral("%1.%2")
            .arg(static_cast<quint8>(raw.at(0)))
            .arg(static_cast<quint8>(raw.at(1)));
    }
    const qint64 value = readInteger(raw, item.size, item.isSigned);
    if (value < item.rawMin || value > item.rawMax)
        failFormatting(QStringLiteral("The raw value %1 is not defined for this type.").arg(value));
    if (item.kind == FormatItem::Kind::Enumeration)
        return item.names.at(static_cast<qsizetype>(value - item.rawMin));
    return shownNumber(item, value, units);
}

QByteArray parseItem(const FormatItem& item, const QString& text, UnitSystem units) {
    switch (item.kind) {
    case FormatItem::Kind::Enumeration:
        return parseEnumeration(item, text);
    case FormatItem::Kind::Version:
        return parseVersion(text);
    case FormatItem::Kind::Number:
        break;
    }
    return parseNumber(item, text, units);
}

} // namespace lns::sim
