// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "DeviceConfiguration.h"
#include "JsonResults.h"
#include "ProgressBar.h"

#include <QTextStream>

// What a run over several devices prints: one line per device on standard
// output (with the changes below it for a dry run), a summary, and a
// progress bar on standard error while that is a terminal. Given `json`,
// each device's outcome goes there instead and nothing is printed.
class DeviceReport {
public:
    DeviceReport(QTextStream& out, QTextStream& err, int deviceCount, bool dryRun,
                 JsonResults* json = nullptr);

    ProgressBar& progress() { return m_progress; }
    void report(const DeviceOutcome& outcome);
    // The summary line; the exit status of the run.
    int finish();

private:
    QTextStream& m_out;
    ProgressBar m_progress;
    int m_deviceCount;
    bool m_dryRun;
    JsonResults* m_json;
    int m_changed = 0;
    int m_unchanged = 0;
    int m_skipped = 0;
    int m_failed = 0;
};
