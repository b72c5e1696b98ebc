// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"

#include <QStringList>
#include <QTextStream>
#include <optional>

// The names a configuration file may give values for.
QStringList configurableFieldNames();

// Reads a configuration file and checks every value against the rules; on
// a problem tells `err` (the file, each offending field) and gives nothing.
std::optional<ConfigurationFile> validatedFile(const QString& path, QTextStream& err);
// The same for contents already read from `path`.
std::optional<ConfigurationFile> validatedContents(const QString& path, const QByteArray& contents,
                                                   QTextStream& err);
