// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ActivityLogLines.h"
#include "DeviceJobs.h"
#include "DeviceReport.h"

#include <QTextStream>
#include <functional>
#include <mutex>
#include <vector>

// A run over devices: each target gets its turn whatever happened to the
// others, is reported as soon as it and every device before it are done, and
// its activity added to the log file (when there is one), so that a run
// stopped part way has told what it changed. A device's "Updating device"
// row reaches the log before its first value is sent, out of turn. A failure of the Object Server
// fails that device alone.
class DeviceRun {
public:
    // `apply` works on one device with up to `jobs` devices at once and
    // keeps that device's activity in the log it is given.
    using Apply = std::function<DeviceOutcome(const DeviceJob& job, ActivityLogLines& log)>;

    DeviceRun(DeviceReport& report, QString logFile, QTextStream& err);

    void run(const ThermostatNetwork& network, int jobs, const std::vector<DeviceTarget>& targets,
             const Apply& apply);
    // The summary; the exit status of the run.
    int finish();

private:
    void keepLog(ActivityLogLines& log);
    // Rows of a device about to be written, from any thread; throws FileProblem.
    void writeNow(const QByteArray& rows);

    DeviceReport& m_report;
    QString m_logFile;
    QTextStream& m_err;
    bool m_logFailed = false;
    std::mutex m_logMutex; // one append at a time, of the ordered rows or a worker's
};
