// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>
#include <QTextStream>

// One subcommand of lns-host: its name, its usage line, and the function that
// runs it with the arguments after the name. The result is the exit status.
struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments, QTextStream& out, QTextStream& err);
};

int runSetup(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runBrowse(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runPlugins(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runExport(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runImport(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runRun(const QStringList& arguments, QTextStream& out, QTextStream& err);
