// SPDX-License-Identifier: Apache-2.0
#include "platform/SqliteFile.h"

#include <QFileInfo>
#include <QThread>
#include <QUrl>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace SqliteFile {

bool isReadOnlyFailure(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM;
}

void createFollowingUmask(const QString& file) {
    // A failure shows when SQLite opens the file, with its reason.
    const int fd =
        ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
}

int openForReading(const QString& file, sqlite3** db) {
    const QFileInfo info(file);
    if (QFileInfo(info.absolutePath()).isWritable())
        return sqlite3_open_v2(file.toUtf8().constData(), db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray uri =
        "file:" + QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded(QUrl::RemoveScheme) +
        "?immutable=1";
    return sqlite3_open_v2(uri.constData(), db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
}

int useWriteAheadLog(sqlite3* db, int timeoutMs) {
    for (int waited = 0;; waited += 10) {
        const int rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_BUSY || waited >= timeoutMs)
            return rc;
        QThread::msleep(10);
    }
}

} // namespace SqliteFile
