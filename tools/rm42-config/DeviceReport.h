#pragma once

#include "DeviceConfiguration.h"

#include <QTextStream>

// What a run over several devices prints: one line per device on standard
// output (with the changes below it for a dry run), a summary, and a
// progress bar on standard error while that is a terminal.
class DeviceReport {
public:
    DeviceReport(QTextStream& out, QTextStream& err, int deviceCount, bool dryRun);

    void starting(int position, const QString& device);
    void report(const DeviceOutcome& outcome);
    // The summary line; the exit status of the run.
    int finish();

private:
    void clearProgress();

    QTextStream& m_out;
    QTextStream& m_err;
    int m_deviceCount;
    bool m_dryRun;
    bool m_progress;
    int m_changed = 0;
    int m_unchanged = 0;
    int m_skipped = 0;
    int m_failed = 0;
};
