// SPDX-License-Identifier: Apache-2.0
#include "OutputFiles.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/PrintableText.h"
#include "platform/WholeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString& path, const QString& why) {
    throw FileProblem(echoed(path) + QStringLiteral(": ") + why);
}

void checkWritableFolder(const QString& path, const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        refuse(path, QStringLiteral("the folder %1 does not exist").arg(echoed(folder)));
    if (!info.isWritable())
        refuse(path, QStringLiteral("the folder %1 is not writable").arg(echoed(folder)));
}

QString nearestExisting(const QString& path) {
    QString folder = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo::exists(folder) && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

} // namespace

void checkOutputFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        checkWritableFolder(path, info.absolutePath());
        return;
    }
    if (!info.isFile())
        refuse(path, QStringLiteral("not a regular file: refused"));
    if (!info.isWritable())
        refuse(path, QStringLiteral("not writable"));
}

void checkOutputFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        refuse(path, QStringLiteral("not a folder"));
    if (info.exists()) {
        if (!info.isWritable())
            refuse(path, QStringLiteral("not writable"));
        return;
    }
    checkWritableFolder(path, nearestExisting(path));
}

void makeFolder(const QString& path) {
    checkOutputFolder(path);
    if (!QDir().mkpath(path))
        refuse(path, QStringLiteral("the folder cannot be made"));
}

void writeOutputFile(const QString& path, const QByteArray& contents) {
    try {
        AtomicFile::write(path, contents);
    } catch (const Error& error) {
        throw FileProblem(printable(error.description()));
    }
}

void appendToOutputFile(const QString& path, const QByteArray& contents) {
    checkOutputFile(path);
    QFile file(path);
    // Unbuffered, so that every failed write is seen here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        refuse(path, QStringLiteral("cannot be written: ") + file.errorString());
    const qint64 before = file.size();
    if (!writeWhole(file, contents)) {
        const QString reason = file.errorString();
        file.resize(before);
        refuse(path, QStringLiteral("cannot be written: ") + reason);
    }
}
