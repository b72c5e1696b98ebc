// SPDX-License-Identifier: Apache-2.0
// One run of a program of this build, with what the kernel counted of it:
// its wall time, its processor time and its peak resident memory.
#pragma once

#include <QFile>
#include <QProcessEnvironment>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct ChildRun {
    int exitCode = -1;
    double seconds = 0;
    double cpuSeconds = 0; // user and system, with its children's
    // The program's own, without its children's (to the kernel's tick).
    double ownCpuSeconds = 0;
    // With its children's. The kernel counts a spawned child's peak from the
    // spawning process's memory, which it shares until it starts the program:
    // a benchmark that holds much itself reads ownPeakMiB instead.
    double peakMiB = 0;
    // With Watch::Memory: the program's own peak (without its children's),
    // as its status showed it last, at most 10 ms before it ended.
    double ownPeakMiB = 0;
};

// The kernel's high-water mark of the process's resident memory; 0 once it
// has ended.
inline double highWaterMiB(pid_t process) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// The processor time the process used itself, user and system, also once
// it has ended and is not waited for yet.
inline double ownCpuSeconds(pid_t process) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The fields after the program's name, from the third (its state) on.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Whether the run reads the program's peak memory while it runs; the
// readings wake this process every 10 ms, which changes how the machine
// schedules a program that works by turns with its children, and with it
// their processor time.
enum class Watch { No, Memory };

// `environment` adds to or replaces what this process has.
inline ChildRun runChild(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, const QString& outputFile,
                         Watch watch = Watch::No) {
    QProcessEnvironment whole = QProcessEnvironment::systemEnvironment();
    whole.insert(environment);
    std::vector<std::string> words{program.toStdString()};
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    std::vector<std::string> settings;
    for (const QString& setting : whole.toStringList())
        settings.push_back(setting.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& setting : settings)
        envp.push_back(setting.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string output = outputFile.toStdString();
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        rusage usage{};
        // Ended but not waited for, its own times are still to be read.
        siginfo_t ended{};
        const int endedOptions = WEXITED | WNOWAIT | (watch == Watch::Memory ? WNOHANG : 0);
        while (waitid(P_PID, static_cast<id_t>(child), &ended, endedOptions) == 0 &&
               ended.si_pid != child) {
            run.ownPeakMiB = std::max(run.ownPeakMiB, highWaterMiB(child));
            usleep(10000);
        }
        run.ownCpuSeconds = ownCpuSeconds(child);
        wait4(child, &status, 0, &usage);
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const auto secondsOf = [](const timeval& time) {
            return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
        };
        run.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
        run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}
