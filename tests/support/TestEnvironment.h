// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QProcess;

// A fresh platform root for one test: LNS_PLATFORM_ROOT points at a new
// temporary folder while the object lives, and XDG_CONFIG_HOME at a folder in
// it, so that the user's own settings (window places) stay out of the test.
class TempPlatformRoot {
public:
    TempPlatformRoot();
    ~TempPlatformRoot();
    TempPlatformRoot(const TempPlatformRoot&) = delete;
    TempPlatformRoot& operator=(const TempPlatformRoot&) = delete;

    QString path() const { return m_dir.path(); }
    QString settingsStoreFile() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
    QByteArray m_previousConfig;
    bool m_hadPreviousConfig;
};

// The folder that holds this build's programs.
QString binDir();
QString programPath(const QString& name);

struct ProcessResult {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

// Runs one of this build's programs to its end with the current environment.
ProcessResult runProgram(const QString& name, const QStringList& arguments, const QByteArray& input = {},
                         int timeoutMs = 60000);

// Runs one of this build's programs as a user who may not write what the
// current user made read-only: as "nobody" when the tests run as root (who
// may write anything), else as the current user.
ProcessResult runAsReader(const QString& name, const QStringList& arguments);

// Waits for a started program to end by itself; one that hangs is killed and
// fails the test, so that it cannot pass for one that succeeded.
bool endedInTime(QProcess& process);
