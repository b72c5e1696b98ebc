// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace lns::sim {

// The lines of an external interface file, numbered from 1, with what every
// part of the reader needs to walk them and to refuse them by line.
class XifLines {
public:
    static constexpr qint64 MaximumSize = 4 * 1024 * 1024;
    static constexpr qsizetype MaximumLineLength = 4096;

    // Decodes the content (UTF-8, or Latin-1 as older tools write it), splits
    // it at LF or CR LF and refuses empty or binary content and absurdly long lines.
    XifLines(const QByteArray& content, QString sourceName);
    Q_DISABLE_COPY_MOVE(XifLines) // the lines point into the decoded text

    int count() const { return static_cast<int>(m_lines.size()); }
    // Line `number` (1 to count()) without its line end.
    QStringView line(int number) const { return m_lines[number - 1]; }
    bool isStringLine(int number) const {
        return number <= count() && line(number).startsWith(QLatin1Char('"'));
    }

    [[noreturn]] void fail(int number, const QString& reason) const;
    [[noreturn]] void failWithoutLine(const QString& reason) const;

private:
    QString m_text;
    QList<QStringView> m_lines;
    QString m_source;
};

// One piece of a continued string: the line it came from and where its text
// starts in the joined string.
struct XifStringPiece {
    int line = 0;
    qsizetype offset = 0;
};

// A string written as consecutive lines that each begin with a double quote
// (one trailing quote is dropped), joined, with \xHH, \\ and \" decoded.
struct XifString {
    QString text;
    QList<XifStringPiece> pieces;

    // The line that holds the character at `offset` of the joined text.
    int lineAt(qsizetype offset) const;
    int lastLine() const { return pieces.last().line; }

    // Reads the string that starts at line `number`; `number` moves past it.
    static XifString read(const XifLines& lines, int& number);
};

// One value of a byte section: the line it starts on and its bytes.
struct XifValue {
    int line = 0;
    QByteArray bytes;
};

// The values written from line `number` on: each byte as "0x0B", "\x0B" or,
// after the first of a line, "B8", separated by blanks or commas. A value starts
// at the beginning of a line and continues on the indented lines after it.
// Reads while lines hold bytes; `number` moves past them.
QList<XifValue> xifValues(const XifLines& lines, int& number);

// Whether a word or line starts a byte list.
bool xifIsByteStart(QStringView text);

// Blank-separated words of a line.
QList<QStringView> xifWords(QStringView line);

// Whether `text` is a whole decimal number.
bool xifIsInteger(QStringView text);

// A whole decimal number from `min` to `max`, or refusal naming `what`.
int xifNumber(const XifLines& lines, int line, QStringView text, int min, int max,
              const char* what);

} // namespace lns::sim
