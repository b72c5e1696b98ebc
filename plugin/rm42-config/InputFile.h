// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

// The most a configuration file or a manifest may hold: far more than any
// thermostat's configuration, little enough to read at once.
constexpr qint64 MaxInputBytes = 4 * 1024 * 1024;

// The contents of a regular file of at most MaxInputBytes. A device, a FIFO,
// a folder or a larger file is refused before anything is read from it.
// Throws FileProblem naming the file.
QByteArray readInputFile(const QString& path);
