// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FormatEngine.h"

#include "objectserver/FormatItem.h"
#include "objectserver/FormatLayouts.h"
#include "platform/Error.h"

#include <algorithm>

namespace lns::sim {

namespace {

const QString RawFormat = QStringLiteral("RAW");
const QString AsciiStringFormat = QStringLiteral("SNVT_str_asc");
constexpr int AsciiStringBytes = 31; // 30 characters and the terminating NUL

struct FormatSpec {
    QString name;
    UnitSystem units = UnitSystem::Metric;
};

FormatSpec parseSpec(const QString& formatSpec) {
    const qsizetype hash = formatSpec.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return {formatSpec, UnitSystem::Metric};
    const QString suffix = formatSpec.mid(hash + 1);
    if (suffix == QLatin1String("US"))
        return {formatSpec.left(hash), UnitSystem::Imperial};
    if (suffix == QLatin1String("SI"))
        return {formatSpec.left(hash), UnitSystem::Metric};
    failFormatting(
        QStringLiteral("Unknown unit system \"#%1\" in format \"%2\".").arg(suffix, formatSpec));
}

const StructuredFormat& structuredFormat(const QString& name) {
    const StructuredFormat* format = findStructuredFormat(name);
    if (!format)
        failFormatting(QStringLiteral("Unknown format \"%1\".").arg(name));
    return *format;
}

void requireSize(const QString& name, const QByteArray& raw, int size) {
    if (raw.size() != size) {
        failFormatting(QStringLiteral("%1 needs %2 bytes of raw data, not %3.")
                           .arg(name)
                           .arg(size)
                           .arg(raw.size()));
    }
}

bool isPrintableAscii(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E;
}

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

QString formatHex(const QByteArray& raw) {
    return QString::fromLatin1(raw.toHex(' ').toUpper());
}

QByteArray parseHex(const QString& text) {
    QByteArray raw;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool isByte = pair.size() == 2 && std::all_of(pair.cbegin(), pair.cend(), isHexDigit);
        if (!isByte)
            failFormatting(
                QStringLiteral("RAW: \"%1\" is not a byte in two hexadecimal digits.").arg(pair));
        raw.append(static_cast<char>(pair.toUInt(nullptr, 16)));
    }
    return raw;
}

QString formatAscii(const QByteArray& raw) {
    requireSize(AsciiStringFormat, raw, AsciiStringBytes);
    const qsizetype end = raw.indexOf('\0');
    if (end < 0)
        failFormatting(QStringLiteral("SNVT_str_asc: the text has no terminating NUL."));
    const QString text = QString::fromLatin1(raw.left(end));
    if (!std::all_of(text.cbegin(), text.cend(), isPrintableAscii))
        failFormatting(QStringLiteral(
            "SNVT_str_asc: the text holds a character that is not printable ASCII."));
    return text;
}

QByteArray parseAscii(const QString& text) {
    if (text.size() > AsciiStringBytes - 1) {
        failFormatting(QStringLiteral("SNVT_str_asc: \"%1\" is longer than %2 characters.")
                           .arg(text)
                           .arg(AsciiStringBytes - 1));
    }
    if (!std::all_of(text.cbegin(), text.cend(), isPrintableAscii))
        failFormatting(
            QStringLiteral("SNVT_str_asc: \"%1\" holds a character that is not printable ASCII.")
                .arg(text));
    QByteArray raw = text.toLatin1();
    raw.append(QByteArray(AsciiStringBytes - raw.size(), '\0'));
    return raw;
}

QString formatStructured(const StructuredFormat& format, const QByteArray& raw, UnitSystem units) {
    requireSize(format.name, raw, format.rawSize());
    QStringList texts;
    int offset = 0;
    for (const FormatItem& item : format.items) {
        texts << formatItem(item, raw.mid(offset, item.size), units);
        offset += item.size;
    }
    return texts.join(format.separator);
}

QByteArray parseStructured(const StructuredFormat& format, const QString& text, UnitSystem units) {
    const QStringList texts =
        format.items.size() == 1 ? QStringList{text} : text.split(format.separator);
    if (texts.size() != format.items.size()) {
        failFormatting(QStringLiteral("%1 needs %2 items separated by \"%3\", not %4: \"%5\".")
                           .arg(format.name)
                           .arg(format.items.size())
                           .arg(format.separator)
                           .arg(texts.size())
                           .arg(text));
    }
    QByteArray raw;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        try {
            raw += parseItem(format.items.at(i), texts.at(i), units);
        } catch (const Error& error) {
            failFormatting(
                QStringLiteral("%1 item %2: %3").arg(format.name).arg(i).arg(error.description()));
        }
    }
    return raw;
}

// A format of one item (RAW, SNVT_str_asc) holds its whole text as item 0.
void requireSingleItem(const QString& name, int item) {
    if (item != 0)
        failFormatting(QStringLiteral("%1 has one item, not item %2.").arg(name).arg(item));
}

const FormatItem& itemOf(const StructuredFormat& format, int item) {
    if (item < 0 || item >= format.items.size())
        failFormatting(QStringLiteral("%1 has %2 items, not item %3.")
                           .arg(format.name)
                           .arg(format.items.size())
                           .arg(item));
    return format.items.at(item);
}

int offsetOf(const StructuredFormat& format, int item) {
    int offset = 0;
    for (int i = 0; i < item; ++i)
        offset += format.items.at(i).size;
    return offset;
}

QByteArray parseItemText(const StructuredFormat& format, int item, const QString& text,
                         UnitSystem units, bool exactly) {
    const FormatItem& described = itemOf(format, item);
    try {
        return exactly ? parseItemExactly(described, text, units)
                       : parseItem(described, text, units);
    } catch (const Error& error) {
        failFormatting(
            QStringLiteral("%1 item %2: %3").arg(format.name).arg(item).arg(error.description()));
    }
}

} // namespace

QString FormatEngine::format(const QString& formatSpec, const QByteArray& raw) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat)
        return formatHex(raw);
    if (spec.name == AsciiStringFormat)
        return formatAscii(raw);
    return formatStructured(structuredFormat(spec.name), raw, spec.units);
}

QByteArray FormatEngine::parse(const QString& formatSpec, const QString& text) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat)
        return parseHex(text);
    if (spec.name == AsciiStringFormat)
        return parseAscii(text);
    return parseStructured(structuredFormat(spec.name), text, spec.units);
}

QByteArray FormatEngine::withItems(const QString& formatSpec, const QByteArray& raw,
                                   const QMap<int, QString>& items) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat || spec.name == AsciiStringFormat) {
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            requireSingleItem(spec.name, it.key());
        return items.isEmpty() ? raw : parse(formatSpec, items.first());
    }
    const StructuredFormat& format = structuredFormat(spec.name);
    requireSize(format.name, raw, format.rawSize());
    QByteArray changed = raw;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const QByteArray bytes = parseItemText(format, it.key(), it.value(), spec.units, false);
        changed.replace(offsetOf(format, it.key()), bytes.size(), bytes);
    }
    return changed;
}

QByteArray FormatEngine::parseItemExactly(const QString& formatSpec, int item,
                                          const QString& text) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat || spec.name == AsciiStringFormat) {
        requireSingleItem(spec.name, item);
        return parse(formatSpec, text);
    }
    return parseItemText(structuredFormat(spec.name), item, text, spec.units, true);
}

QByteArray FormatEngine::parseItem(const QString& formatSpec, int item, const QString& text) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat || spec.name == AsciiStringFormat) {
        requireSingleItem(spec.name, item);
        return parse(formatSpec, text);
    }
    return parseItemText(structuredFormat(spec.name), item, text, spec.units, false);
}

QString FormatEngine::formatItemOf(const QString& formatSpec, int item, const QByteArray& bytes) {
    const FormatSpec spec = parseSpec(formatSpec);
    if (spec.name == RawFormat || spec.name == AsciiStringFormat) {
        requireSingleItem(spec.name, item);
        return format(formatSpec, bytes);
    }
    const StructuredFormat& format = structuredFormat(spec.name);
    const FormatItem& described = itemOf(format, item);
    requireSize(QStringLiteral("%1 item %2").arg(format.name).arg(item), bytes, described.size);
    return formatItem(described, bytes, spec.units);
}

int FormatEngine::rawSize(const QString& formatName) {
    const QString name = formatName.section(QLatin1Char('#'), 0, 0);
    if (name == AsciiStringFormat)
        return AsciiStringBytes;
    const StructuredFormat* format = findStructuredFormat(name);
    return format ? format->rawSize() : -1;
}

} // namespace lns::sim
