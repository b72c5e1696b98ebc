// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

// Where the program writes: every path is checked before the first device
// is written, and every write either completes or leaves the file as it was.

// A file that may be written: an existing regular file that is writable, or
// a new name in a writable folder. Throws FileProblem.
void checkOutputFile(const QString& path);

// A folder that exists and is writable, or that can be made inside the
// nearest folder that exists. Throws FileProblem.
void checkOutputFolder(const QString& path);

// Makes the folder and the folders above it. Throws FileProblem.
void makeFolder(const QString& path);

// Replaces the file in one step: each write and the final rename are
// checked, a failure leaves an existing file as it was, and a path that is
// not a regular file is refused. Throws FileProblem with the system's reason.
void writeOutputFile(const QString& path, const QByteArray& contents);

// Adds to the end of the file (made when missing); a failed write cuts the
// file back to what it held. Throws FileProblem with the system's reason.
void appendToOutputFile(const QString& path, const QByteArray& contents);
