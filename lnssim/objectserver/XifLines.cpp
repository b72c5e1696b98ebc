// SPDX-License-Identifier: Apache-2.0
#include "objectserver/XifLines.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QStringDecoder>
#include <algorithm>

namespace lns::sim {

namespace {

Error importFailure(const QString& description) {
    return Error::lns(Code::ImportFailed, QStringLiteral("LNS Object Server"), description);
}

bool isBinary(QChar c) {
    return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\f');
}

} // namespace

XifLines::XifLines(const QByteArray& content, QString sourceName)
    : m_source(std::move(sourceName)) {
    if (content.trimmed().isEmpty())
        failWithoutLine(QStringLiteral("the file is empty"));
    if (content.size() > MaximumSize)
        failWithoutLine(QStringLiteral("the file is larger than %1 bytes").arg(MaximumSize));
    // Stateless: a sequence cut off at the end is an error, not held back for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    m_text = utf8(content);
    if (utf8.hasError())
        m_text = QString::fromLatin1(content);
    const QStringView text(m_text);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView line = text.mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        m_lines.append(line);
        if (line.size() > MaximumLineLength)
            fail(count(),
                 QStringLiteral("the line is longer than %1 characters").arg(MaximumLineLength));
        if (std::any_of(line.begin(), line.end(), isBinary))
            fail(count(), QStringLiteral("a control character: this is not a text file"));
        start = end + 1;
    }
}

void XifLines::fail(int number, const QString& reason) const {
    throw importFailure(QStringLiteral("%1: line %2: %3").arg(m_source).arg(number).arg(reason));
}

void XifLines::failWithoutLine(const QString& reason) const {
    throw importFailure(QStringLiteral("%1: %2").arg(m_source, reason));
}

int XifString::lineAt(qsizetype offset) const {
    const auto after = std::upper_bound(
        pieces.begin(), pieces.end(), offset,
        [](qsizetype value, const XifStringPiece& piece) { return value < piece.offset; });
    return after == pieces.begin() ? pieces.first().line : std::prev(after)->line;
}

namespace {

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Appends one string line's text (after its opening quote) with its escapes decoded.
void appendDecoded(QString& out, QStringView piece) {
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QChar c = piece[i];
        if (c == QLatin1Char('"') && i == piece.size() - 1)
            break; // the closing quote
        if (c != QLatin1Char('\\') || i + 1 >= piece.size()) {
            out += c;
            continue;
        }
        const QChar next = piece[i + 1];
        if (next == QLatin1Char('x') && i + 3 < piece.size() && hexValue(piece[i + 2]) >= 0 &&
            hexValue(piece[i + 3]) >= 0) {
            out += QChar(char16_t(hexValue(piece[i + 2]) * 16 + hexValue(piece[i + 3])));
            i += 3;
        } else if (next == QLatin1Char('\\') || next == QLatin1Char('"')) {
            out += next;
            ++i;
        } else {
            out += c; // not an escape we know: kept as written
        }
    }
}

} // namespace

XifString XifString::read(const XifLines& lines, int& number) {
    XifString result;
    while (lines.isStringLine(number)) {
        result.pieces.append({number, result.text.size()});
        appendDecoded(result.text, lines.line(number).mid(1));
        ++number;
    }
    return result;
}

bool xifIsByteStart(QStringView text) {
    return text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("\\x"), Qt::CaseInsensitive);
}

namespace {

bool isSeparator(QChar c) {
    return c.isSpace() || c == QLatin1Char(',');
}

// One line's bytes: each two hexadecimal digits, after "0x" or "\x" where written.
void appendBytes(const XifLines& lines, int number, QStringView text, QByteArray& out) {
    qsizetype i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (xifIsByteStart(text.mid(i)))
            i += 2;
        const bool valid =
            i + 1 < text.size() && hexValue(text[i]) >= 0 && hexValue(text[i + 1]) >= 0 &&
            (i + 2 == text.size() || isSeparator(text[i + 2]) || xifIsByteStart(text.mid(i + 2)));
        if (!valid) {
            qsizetype end = start;
            while (end < text.size() && !isSeparator(text[end]))
                ++end;
            lines.fail(number, QStringLiteral("expected bytes written as 0x00 to 0xFF or \\x00 "
                                              "to \\xFF, not \"%1\"")
                                   .arg(text.mid(start, end - start).left(40)));
        }
        out += char(hexValue(text[i]) * 16 + hexValue(text[i + 1]));
        i += 2;
    }
}

} // namespace

QList<XifValue> xifValues(const XifLines& lines, int& number) {
    QList<XifValue> values;
    for (; number <= lines.count(); ++number) {
        const QStringView line = lines.line(number);
        const QStringView trimmed = line.trimmed();
        if (!xifIsByteStart(trimmed))
            break;
        // An indented line continues the value before it.
        if (values.isEmpty() || !line.front().isSpace())
            values.append(XifValue{number, {}});
        appendBytes(lines, number, trimmed, values.last().bytes);
    }
    return values;
}

QList<QStringView> xifWords(QStringView line) {
    QList<QStringView> words;
    words.reserve(8); // the longest usual record line
    qsizetype position = 0;
    while (position < line.size()) {
        if (line[position].isSpace()) {
            ++position;
            continue;
        }
        qsizetype end = position;
        while (end < line.size() && !line[end].isSpace())
            ++end;
        words.append(line.mid(position, end - position));
        position = end;
    }
    return words;
}

bool xifIsInteger(QStringView text) {
    bool ok = false;
    (void)text.toLongLong(&ok);
    return ok;
}

int xifNumber(const XifLines& lines, int line, QStringView text, int min, int max,
              const char* what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        lines.fail(line, QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                             .arg(QLatin1String(what))
                             .arg(min)
                             .arg(max)
                             .arg(text.left(40)));
    return value;
}

} // namespace lns::sim
