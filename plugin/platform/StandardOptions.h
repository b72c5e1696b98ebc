// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

// --help and --version, answered alike by every program before it looks at
// its own arguments: the answer goes to standard output and the program
// ends with status 0.
namespace StandardOptions {

// The project's version, major.minor.patch.
QString version();

// The last line of every program's help: where to report problems.
QString reportProblems();

// Help text for a terminal of `width` columns: each longer line is broken at
// blanks, its continuation lines standing under its description (the text
// after the first run of two or more blanks: an option's or a usage line's
// arguments), or under a usage line's subcommand, or at its own indent.
QString wrappedText(const QString& text, int width = 80);

// When the arguments are exactly "--help" or "--version", writes the help
// (the usage text, then reportProblems(), wrapped) or "PROGRAM VERSION" to
// out and returns 0; otherwise nothing.
std::optional<int> answer(const QStringList& arguments, const QString& program, const QString& help,
                          QTextStream& out);

} // namespace StandardOptions
