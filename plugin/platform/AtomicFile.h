// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file so that a reader (or a crash) sees the old content or the
// new one, never a mix: the new content goes to an unnamed file in the same
// folder, reaches the disk, and is renamed over the old file, so a process
// killed while saving leaves no temporary copy. The file gets the mode the
// user's umask gives a new file. A path that exists and is not a regular
// file (a device node, a FIFO, a folder) is refused. Throws Error naming the file and the
// system's reason when any step fails; the old file is then untouched.
namespace AtomicFile {

void write(const QString& path, const QByteArray& content);

} // namespace AtomicFile
