// SPDX-License-Identifier: Apache-2.0
#include "JsonReader.h"

#include <QJsonArray>
#include <QJsonParseError>
#include <QMap>
#include <charconv>
#include <vector>

namespace {

// "line 3, column 7" of a byte offset into the text.
QString positionOf(const QByteArray& text, qsizetype offset) {
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1);
}

// A decimal value as sign, significant digits and a power of ten, so that
// two spellings of one value compare equal ("0.50", "5e-1").
struct Decimal {
    bool negative = false;
    std::string digits; // without leading or trailing zeros; empty for zero
    long long exponent = 0;
    bool operator==(const Decimal&) const = default;
};

std::optional<Decimal> decimalOf(std::string_view text) {
    Decimal value;
    size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        value.negative = text[at++] == '-';
    bool seenPoint = false;
    long long fractionDigits = 0;
    for (; at < text.size() && text[at] != 'e' && text[at] != 'E'; ++at) {
        if (text[at] == '.') {
            seenPoint = true;
        } else if (text[at] >= '0' && text[at] <= '9') {
            value.digits += text[at];
            fractionDigits += seenPoint ? 1 : 0;
        } else {
            return std::nullopt; // "inf", "nan"
        }
    }
    long long exponent = 0;
    if (at < text.size()) {
        ++at;
        const bool negativeExponent = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        // Far beyond any double's range is as good as further still.
        for (; at < text.size(); ++at)
            exponent = std::min(exponent * 10 + (text[at] - '0'), 100000000LL);
        exponent = negativeExponent ? -exponent : exponent;
    }
    value.exponent = exponent - fractionDigits;
    const size_t first = value.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return Decimal{}; // zero, whatever its sign
    value.digits.erase(0, first);
    while (value.digits.back() == '0') {
        value.digits.pop_back();
        ++value.exponent;
    }
    return value;
}

bool heldExactly(std::string_view literal) {
    double number = 0;
    const auto read = std::from_chars(literal.data(), literal.data() + literal.size(), number);
    if (read.ec != std::errc())
        return false; // out of a double's range
    char shortest[64];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, number);
    return decimalOf(literal) == decimalOf(std::string_view(shortest, written.ptr - shortest));
}

// Walks a document Qt has read without error, so every token is well formed.
class Scan {
public:
    explicit Scan(const QByteArray& text) : m_text(text) {}

    QString problem() {
        while (m_at < m_text.size() && m_problem.isEmpty())
            step();
        return m_problem;
    }

private:
    struct Level {
        bool isObject;
        bool expectKey;
        QMap<QString, int> keyLines;
    };

    void step() {
        const char c = m_text[m_at];
        if (c == '\n')
            ++m_line;
        if (c == '{' || c == '[') {
            m_levels.push_back({c == '{', c == '{', {}});
            ++m_at;
        } else if (c == '}' || c == ']') {
            m_levels.pop_back();
            ++m_at;
        } else if (c == ',') {
            if (!m_levels.empty() && m_levels.back().isObject)
                m_levels.back().expectKey = true;
            ++m_at;
        } else if (c == '"') {
            const QByteArray raw = string();
            if (!m_levels.empty() && m_levels.back().expectKey)
                key(decoded(raw));
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            number();
        } else {
            ++m_at; // blanks, ':', true, false, null
        }
    }

    void key(const QString& name) {
        Level& level = m_levels.back();
        level.expectKey = false;
        const auto first = level.keyLines.constFind(name);
        if (first == level.keyLines.constEnd()) {
            level.keyLines.insert(name, m_line);
            return;
        }
        m_problem = QStringLiteral("the key \"%1\" is given twice in one object, on line %2 "
                                   "(first on line %3)")
                        .arg(name)
                        .arg(m_line)
                        .arg(*first);
    }

    // The string at m_at with its quotes, as it stands in the text.
    QByteArray string() {
        const qsizetype begin = m_at++;
        while (m_text[m_at] != '"')
            m_at += m_text[m_at] == '\\' ? 2 : 1;
        ++m_at;
        return m_text.mid(begin, m_at - begin);
    }

    // "\u0061" and "a" name one key: escapes are read as Qt reads them.
    static QString decoded(const QByteArray& quoted) {
        if (!quoted.contains('\\'))
            return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
        return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
    }

    void number() {
        const qsizetype begin = m_at;
        while (m_at < m_text.size() && QByteArrayView("+-.eE0123456789").contains(m_text[m_at]))
            ++m_at;
        const std::string_view literal(m_text.constData() + begin, size_t(m_at - begin));
        if (!heldExactly(literal))
            m_problem = QStringLiteral("line %1: the number %2 cannot be held exactly as written")
                            .arg(m_line)
                            .arg(QString::fromLatin1(literal.data(), qsizetype(literal.size())));
    }

    const QByteArray& m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    std::vector<Level> m_levels;
    QString m_problem;
};

} // namespace

std::optional<QJsonDocument> readJson(const QByteArray& text, QString& problem) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        problem = QStringLiteral("not a JSON document: %1 at %2")
                      .arg(error.errorString(), positionOf(text, error.offset));
        return std::nullopt;
    }
    problem = Scan(text).problem();
    if (!problem.isEmpty())
        return std::nullopt;
    return document;
}

QString exactNumberText(double number) {
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, number, std::chars_format::fixed);
    return QString::fromLatin1(text, written.ptr - text);
}
