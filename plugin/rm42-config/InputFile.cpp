// SPDX-License-Identifier: Apache-2.0
#include "InputFile.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"

#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString& path, const QString& why) {
    throw FileProblem(echoed(path) + QStringLiteral(": ") + why);
}

} // namespace

QByteArray readInputFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("cannot be read: no such file"));
    // Checked before opening: opening a FIFO waits for a writer.
    if (!info.isFile())
        refuse(path, QStringLiteral("not a regular file"));
    if (info.size() > MaxInputBytes)
        refuse(path, QStringLiteral("%1 bytes, more than the %2 MiB a file may hold")
                         .arg(info.size())
                         .arg(MaxInputBytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("cannot be read: ") + file.errorString());
    // The file may have grown since it was looked at.
    const QByteArray contents = file.read(MaxInputBytes + 1);
    if (contents.size() > MaxInputBytes)
        refuse(path, QStringLiteral("more than the %1 MiB a file may hold")
                         .arg(MaxInputBytes / (1024 * 1024)));
    return contents;
}
