// SPDX-License-Identifier: Apache-2.0
#include "platform/ProcessLauncher.h"

#include "platform/Error.h"

#include <QProcess>

namespace {

const QString LauncherSource = QStringLiteral("ProcessLauncher");

class QtStartedProcess : public StartedProcess {
public:
    explicit QtStartedProcess(std::unique_ptr<QProcess> process) : m_process(std::move(process)) {}
    ~QtStartedProcess() override {
        // The program is not ours to end; only stop watching it.
        if (m_process->state() != QProcess::NotRunning)
            m_process->waitForFinished(-1);
    }
    bool isRunning() override {
        return !m_process->waitForFinished(10) && m_process->state() != QProcess::NotRunning;
    }

private:
    std::unique_ptr<QProcess> m_process;
};

[[noreturn]] void cannotStart(const QString& program, const QString& reason) {
    throw Error(53, LauncherSource, QStringLiteral("Cannot start %1: %2").arg(program, reason));
}

} // namespace

void SystemProcessLauncher::run(const QString& program, const QStringList& arguments,
                                int timeoutMs) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        cannotStart(program, process.errorString());
    if (!process.waitForFinished(timeoutMs)) {
        // Ended, so that it cannot succeed after its failure was reported.
        process.kill();
        process.waitForFinished(1000);
        throw Error(53, LauncherSource,
                    QStringLiteral("%1 %2 did not finish within %3 s")
                        .arg(program, arguments.join(u' '))
                        .arg(timeoutMs / 1000));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw Error(process.exitCode(), LauncherSource,
                    QStringLiteral("%1 %2 failed: %3")
                        .arg(program, arguments.join(u' '),
                             QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
}

std::unique_ptr<StartedProcess> SystemProcessLauncher::start(const QString& program,
                                                             const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted())
        cannotStart(program, process->errorString());
    return std::make_unique<QtStartedProcess>(std::move(process));
}
