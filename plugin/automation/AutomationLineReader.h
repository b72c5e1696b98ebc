// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <deque>

// Cuts the bytes of the input stream into lines. A line longer than the
// limit is not kept: its bytes are dropped as they arrive and the line is
// reported as too long once its end is seen.
class AutomationLineReader {
public:
    struct Line {
        QByteArray text; // without the line end
        bool tooLong = false;
    };

    explicit AutomationLineReader(qsizetype limit) : m_limit(limit) {}

    void feed(const QByteArray& bytes);
    // At the end of input: a last line without a line end becomes a line.
    void finish();

    bool hasLine() const { return !m_lines.empty(); }
    Line takeLine();

private:
    void completeLine();

    qsizetype m_limit;
    QByteArray m_partial;
    bool m_discarding = false;
    std::deque<Line> m_lines;
};
