// SPDX-License-Identifier: Apache-2.0
#include "objectserver/Journal.h"

#include <QFile>

namespace lns::sim {

Journal::Journal() : m_file(qEnvironmentVariable("LNS_SIM_JOURNAL")) {}

void Journal::keepInMemory(bool keep) {
    m_keptInMemory = keep;
    if (!keep)
        m_lines.clear();
}

void Journal::record(const QString& line) {
    if (m_keptInMemory) {
        if (m_lines.size() >= MemoryLimit)
            m_lines.remove(0, MemoryLimit / 2);
        m_lines.append(line);
    }
    if (m_file.isEmpty())
        return;
    // Opened per line in append mode, so lines of several processes interleave whole.
    QFile file(m_file);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

QString Journal::quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString Journal::boolean(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace lns::sim
