// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

namespace lns::sim {

// The calls the simulated Object Server received, in order, one line each
// ("Network.Open \"Demo Building\"", "System.setTimingSetting 200"). Appended
// to the file named by LNS_SIM_JOURNAL so that a test can follow the calls of
// another process, and kept in memory only for a caller that asked for it,
// up to MemoryLimit lines (the oldest go first): a long session of the
// plug-in must not grow without bound.
class Journal {
public:
    static constexpr qsizetype MemoryLimit = 100000;

    Journal();

    void record(const QString& line);
    void keepInMemory(bool keep);
    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    // Argument texts as they appear in a line.
    static QString quoted(const QString& text);
    static QString boolean(bool value);

private:
    QStringList m_lines;
    QString m_file;
    bool m_keptInMemory = true;
};

} // namespace lns::sim
