// SPDX-License-Identifier: Apache-2.0
#include "SetupRun.h"

#include <QFileInfo>

namespace {

// The plug-ins shipped for this host; each registers itself with /regplugin.
const QStringList KnownPlugIns = {QStringLiteral("RM42xxPirConfigure")};

} // namespace

SetupRun::SetupRun(QList<Step> steps, QObject* parent)
    : QObject(parent), m_steps(std::move(steps)) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, &QProcess::finished, this, &SetupRun::stepEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit done(
                QStringLiteral("%1: %2").arg(m_steps[m_current].title, m_process.errorString()));
    });
}

QList<SetupRun::Step> SetupRun::stepsFor(bool layOut, bool registerPlugIns,
                                         const QString& programFolder) {
    QList<Step> steps;
    if (layOut)
        steps.append({QStringLiteral("Laying out the LonWorks folder"),
                      programFolder + QStringLiteral("/lns-host"),
                      {QStringLiteral("setup")}});
    if (!registerPlugIns)
        return steps;
    for (const QString& name : KnownPlugIns) {
        const QString program = programFolder + QLatin1Char('/') + name;
        if (QFileInfo(program).isExecutable())
            steps.append({QStringLiteral("Registering %1").arg(name),
                          program,
                          {QStringLiteral("/regplugin")}});
    }
    return steps;
}

void SetupRun::start() {
    runNext();
}

void SetupRun::runNext() {
    if (++m_current >= m_steps.size()) {
        emit done(QString());
        return;
    }
    const Step& step = m_steps[m_current];
    emit stepStarted(m_current, step.title);
    m_process.start(step.program, step.arguments);
}

void SetupRun::stepEnded(int exitCode, QProcess::ExitStatus status) {
    if (status == QProcess::NormalExit && exitCode == 0) {
        runNext();
        return;
    }
    const QString output = QString::fromLocal8Bit(m_process.readAll()).trimmed();
    emit done(QStringLiteral("%1 failed (exit status %2)%3")
                  .arg(m_steps[m_current].title)
                  .arg(status == QProcess::NormalExit ? exitCode : -1)
                  .arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output));
}
