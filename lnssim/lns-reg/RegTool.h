// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>
#include <QTextStream>

// `lns-reg query|add|delete`, in the style of the platform's reg command, and
// `lns-reg --help|--version`.
// Returns the exit status: 0 success, 1 missing key or value or unusable
// store (reason on `err`), 2 usage error.
int runRegTool(const QStringList& arguments, const QString& storeFile, QTextStream& out, QTextStream& err);
