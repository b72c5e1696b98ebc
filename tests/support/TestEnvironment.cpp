// SPDX-License-Identifier: Apache-2.0
#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

bool endedInTime(QProcess& process) {
    if (process.waitForFinished(60000))
        return process.exitStatus() == QProcess::NormalExit;
    ADD_FAILURE() << qPrintable(process.program()) << " did not end";
    process.kill();
    process.waitForFinished();
    return false;
}

namespace {

void restore(const char* name, bool had, const QByteArray& previous) {
    if (had)
        qputenv(name, previous);
    else
        qunsetenv(name);
}

} // namespace

TempPlatformRoot::TempPlatformRoot()
    : m_previous(qgetenv("LNS_PLATFORM_ROOT")), m_hadPrevious(qEnvironmentVariableIsSet("LNS_PLATFORM_ROOT")),
      m_previousConfig(qgetenv("XDG_CONFIG_HOME")), m_hadPreviousConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("LNS_PLATFORM_ROOT", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/config")).toUtf8());
}

TempPlatformRoot::~TempPlatformRoot() {
    restore("LNS_PLATFORM_ROOT", m_hadPrevious, m_previous);
    restore("XDG_CONFIG_HOME", m_hadPreviousConfig, m_previousConfig);
}

QString TempPlatformRoot::settingsStoreFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite3"); }

QString binDir() {
    const QString fromEnvironment = qEnvironmentVariable("RM42_BIN_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(RM42_DEFAULT_BIN_DIR) : fromEnvironment;
}

QString programPath(const QString& name) { return binDir() + QLatin1Char('/') + name; }

ProcessResult runProgram(const QString& name, const QStringList& arguments, const QByteArray& input, int timeoutMs) {
    QProcess process;
    process.start(programPath(name), arguments);
    ProcessResult result;
    if (!process.waitForStarted(timeoutMs)) {
        result.err = process.errorString();
        return result;
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.crashed = true;
    }
    result.crashed = result.crashed || process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

ProcessResult runAsReader(const QString& name, const QStringList& arguments) {
    if (geteuid() != 0)
        return runProgram(name, arguments);
    QProcess process;
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), programPath(name)} +
                      arguments);
    const bool ended = endedInTime(process);
    return {ended ? process.exitCode() : -1, !ended,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
