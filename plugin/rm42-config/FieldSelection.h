// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"

#include <QString>
#include <QTextStream>

// Keeps only the fields of "--only FIELD,..." in the file, so that part of a
// file is applied. An unknown name is refused with the nearest known one:
// false and a message on `err`.
bool keepOnlyFields(ConfigurationFile& file, const QString& list, QTextStream& err);
