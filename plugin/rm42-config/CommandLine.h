// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// The words of a command line after the subcommand: positional words, options
// with a value ("-o FILE") and flags ("--json").
struct CommandLine {
    QStringList positional;
    QMap<QString, QString> values;
    QSet<QString> flags;

    bool has(const QString& flag) const { return flags.contains(flag); }
    QString value(const QString& option) const { return values.value(option); }
};

// Splits the words; an option that is not one of `valueOptions` or `flags`,
// or a value option without its value, gives nothing and a message on `err`.
std::optional<CommandLine> parseCommandLine(const QStringList& words,
                                            const QStringList& valueOptions,
                                            const QStringList& flags, QTextStream& err);

// The unit system of "--units US|SI", `otherwise` when not given; nothing
// and a message on `err` for another value.
std::optional<qint16> unitsOption(const CommandLine& line, qint16 otherwise, QTextStream& err);

// How many devices a run works on at once: "--jobs N" from 1 to MostJobs,
// DefaultJobs (as many as fill the channel) when not given; nothing and a
// message on `err` otherwise. Each device in flight beyond the first opens
// the network again.
constexpr int DefaultJobs = 0;
constexpr int MostJobs = 64;
std::optional<int> jobsOption(const CommandLine& line, QTextStream& err);

// Exit statuses of every subcommand.
namespace ExitStatus {
constexpr int Done = 0;
constexpr int SomeDeviceFailed = 1;
constexpr int Refused = 2;
} // namespace ExitStatus
