// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ActivityLogLines.h"
#include "DeviceReport.h"

#include <QTextStream>
#include <functional>
#include <vector>

// A run over devices: each target gets its turn whatever happened to the one
// before, is reported as soon as it is done and its activity added to the
// log file (when there is one), so that a run stopped part way has told what
// it changed. A failure of the Object Server fails that device alone.
class DeviceRun {
public:
    DeviceRun(DeviceReport& report, ActivityLogLines& log, QString logFile, QTextStream& err);

    void run(const std::vector<DeviceTarget>& targets,
             const std::function<DeviceOutcome(size_t position, const DeviceTarget&)>& apply);
    // The summary; the exit status of the run.
    int finish();

private:
    void keepLog();

    DeviceReport& m_report;
    ActivityLogLines& m_log;
    QString m_logFile;
    QTextStream& m_err;
    bool m_logFailed = false;
};
