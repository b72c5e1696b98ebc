// SPDX-License-Identifier: Apache-2.0
#include "DeviceRun.h"

#include "CommandLine.h"
#include "platform/Error.h"

DeviceRun::DeviceRun(DeviceReport& report, ActivityLogLines& log, QString logFile, QTextStream& err)
    : m_report(report), m_log(log), m_logFile(std::move(logFile)), m_err(err) {}

void DeviceRun::run(
    const std::vector<DeviceTarget>& targets,
    const std::function<DeviceOutcome(size_t position, const DeviceTarget&)>& apply) {
    for (size_t i = 0; i < targets.size(); ++i) {
        const DeviceTarget& target = targets[i];
        m_report.starting(static_cast<int>(i), target.path);
        DeviceOutcome outcome;
        try {
            outcome = apply(i, target);
        } catch (const Error& error) {
            m_log.LogError(error.description());
            outcome.device = target.path;
            outcome.result = DeviceOutcome::Result::Failed;
            outcome.reason = oneLine(error.description());
        }
        m_report.report(outcome);
        keepLog();
    }
}

int DeviceRun::finish() {
    const int status = m_report.finish();
    return m_logFailed ? std::max(status, int(ExitStatus::SomeDeviceFailed)) : status;
}

void DeviceRun::keepLog() {
    if (m_logFile.isEmpty() || m_logFailed)
        return;
    try {
        m_log.appendTo(m_logFile);
    } catch (const FileProblem& problem) {
        m_err << "rm42-config: the log cannot be written: " << problem.message() << '\n';
        m_err.flush();
        m_logFailed = true;
    }
}
