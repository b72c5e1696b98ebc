// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// A program started by this one, watched until it ends.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    virtual bool isRunning() = 0;
};

// Starts other programs: the program itself with the platform's switches,
// and the XIF converter. Failing starts throw Error.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Runs the program to its end, waiting at most `timeoutMs`. Fails when it
    // cannot start, does not end in time, or ends in failure (with what it
    // wrote on standard error).
    virtual void run(const QString& program, const QStringList& arguments, int timeoutMs) = 0;
    virtual std::unique_ptr<StartedProcess> start(const QString& program,
                                                  const QStringList& arguments) = 0;
};

// Starts real processes.
class SystemProcessLauncher : public ProcessLauncher {
public:
    void run(const QString& program, const QStringList& arguments, int timeoutMs) override;
    std::unique_ptr<StartedProcess> start(const QString& program,
                                          const QStringList& arguments) override;
};
