// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>
#include <QTextStream>
#include <vector>

// One subcommand of rm42-config: its name, its usage line, what it does and
// its options for --help, and the function that runs it with the words
// after the name. The result is the exit status.
struct Subcommand {
    const char* name;
    const char* usage;
    const char* help;
    int (*run)(const QStringList& words, QTextStream& out, QTextStream& err);
};

// Every subcommand, in the order the help lists them.
const std::vector<Subcommand>& subcommands();

int runShow(const QStringList& words, QTextStream& out, QTextStream& err);
int runSave(const QStringList& words, QTextStream& out, QTextStream& err);
int runCheck(const QStringList& words, QTextStream& out, QTextStream& err);
int runApply(const QStringList& words, QTextStream& out, QTextStream& err);
int runRestore(const QStringList& words, QTextStream& out, QTextStream& err);
int runSet(const QStringList& words, QTextStream& out, QTextStream& err);
int runDiff(const QStringList& words, QTextStream& out, QTextStream& err);
int runReport(const QStringList& words, QTextStream& out, QTextStream& err);

// Prints the usage line of `name` on `err`; the usage exit status.
int usageOf(const char* name, QTextStream& err);
