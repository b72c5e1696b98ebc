// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "Validation.h"

#include <QStringList>
#include <QTextStream>
#include <optional>
#include <vector>

// The names a configuration file may give values for.
QStringList configurableFieldNames();

// What checking a file found: the file when it may be applied; otherwise
// the problem of its form (the file named), or every value that breaks a rule.
struct FileCheck {
    std::optional<ConfigurationFile> file;
    QString formProblem;
    std::vector<ValueProblem> problems;
};
FileCheck checkedFile(const QString& path);
FileCheck checkedContents(const QString& path, const QByteArray& contents);

// Reads a configuration file and checks every value against the rules; on
// a problem tells `err` (the file, each offending field) and gives nothing.
std::optional<ConfigurationFile> validatedFile(const QString& path, QTextStream& err);
// The same for contents already read from `path`.
std::optional<ConfigurationFile> validatedContents(const QString& path, const QByteArray& contents,
                                                   QTextStream& err);
