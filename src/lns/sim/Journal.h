#pragma once

#include <QString>
#include <QStringList>

namespace lns::sim {

// The calls the simulated Object Server received, in order, one line each
// ("Network.Open \"Demo Building\"", "System.setTimingSetting 200"). Kept in
// memory, and appended to the file named by LNS_SIM_JOURNAL so that a test can
// follow the calls of another process.
class Journal {
public:
    Journal();

    void record(const QString& line);
    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    // Argument texts as they appear in a line.
    static QString quoted(const QString& text);
    static QString boolean(bool value);

private:
    QStringList m_lines;
    QString m_file;
};

} // namespace lns::sim
