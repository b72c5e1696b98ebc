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

void SystemProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // Nobody reads what it prints: a closed pipe would end it.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached())
        cannotStart(program, process.errorString());
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
