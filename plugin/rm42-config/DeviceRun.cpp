// SPDX-License-Identifier: Apache-2.0
#include "DeviceRun.h"

#include "CommandLine.h"
#include "OutputFiles.h"
#include "platform/Error.h"

#include <memory>

DeviceRun::DeviceRun(DeviceReport& report, QString logFile, QTextStream& err)
    : m_report(report), m_logFile(std::move(logFile)), m_err(err) {}

void DeviceRun::run(const ThermostatNetwork& network, int jobs,
                    const std::vector<DeviceTarget>& targets, const Apply& apply) {
    DeviceJobs(network, jobs, m_report.progress())
        .run(targets, [&](const DeviceJob& job) -> DeviceJobs::Finish {
            const auto log = std::make_shared<ActivityLogLines>();
            if (!m_logFile.isEmpty())
                log->writeNowWith([this](const QByteArray& rows) { writeNow(rows); });
            DeviceOutcome outcome;
            try {
                outcome = apply(job, *log);
            } catch (const Error& error) {
                log->LogError(error.description());
                outcome.device = job.target.path;
                outcome.result = DeviceOutcome::Result::Failed;
                outcome.reason = oneLine(error.description());
                outcome.errorNumber = error.number();
            }
            return [this, log, outcome] {
                m_report.report(outcome);
                keepLog(*log);
            };
        });
}

int DeviceRun::finish() {
    const int status = m_report.finish();
    return m_logFailed ? std::max(status, int(ExitStatus::SomeDeviceFailed)) : status;
}

void DeviceRun::writeNow(const QByteArray& rows) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    // After a failed write no device is written: it could not be logged.
    if (m_logFailed)
        throw FileProblem(QStringLiteral("an earlier row could not be written"));
    appendToOutputFile(m_logFile, rows);
}

void DeviceRun::keepLog(ActivityLogLines& log) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    if (m_logFile.isEmpty() || m_logFailed)
        return;
    try {
        log.appendTo(m_logFile);
    } catch (const FileProblem& problem) {
        m_err << "rm42-config: the log cannot be written: " << problem.message() << '\n';
        m_err.flush();
        m_logFailed = true;
    }
}
