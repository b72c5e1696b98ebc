#pragma once

#include <QByteArray>
#include <QString>

namespace lns::sim {

// Replaces a file so that a reader (or a crash) sees the old content or the
// new one, never a mix: the new content goes to a temporary file beside it,
// reaches the disk, and is renamed over the old file. Throws Error naming the
// file when any step fails; the old file is then untouched.
namespace AtomicFile {

void write(const QString& path, const QByteArray& content);

} // namespace AtomicFile

} // namespace lns::sim
