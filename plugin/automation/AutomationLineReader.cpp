// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationLineReader.h"

void AutomationLineReader::feed(const QByteArray& bytes) {
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype stop = end < 0 ? bytes.size() : end;
        if (!m_discarding) {
            if (m_partial.size() + (stop - start) > m_limit) {
                m_discarding = true;
                m_partial.clear();
                m_partial.squeeze();
            } else {
                m_partial.append(bytes.constData() + start, stop - start);
            }
        }
        if (end < 0)
            break;
        completeLine();
        start = end + 1;
    }
}

void AutomationLineReader::finish() {
    if (m_discarding || !m_partial.isEmpty())
        completeLine();
}

AutomationLineReader::Line AutomationLineReader::takeLine() {
    Line line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}

void AutomationLineReader::completeLine() {
    Line line;
    line.tooLong = m_discarding;
    if (!m_discarding) {
        line.text = std::move(m_partial);
        if (line.text.endsWith('\r'))
            line.text.chop(1);
    }
    m_partial = QByteArray();
    m_discarding = false;
    m_lines.push_back(std::move(line));
}
