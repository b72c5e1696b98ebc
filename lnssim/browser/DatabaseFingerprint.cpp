// SPDX-License-Identifier: Apache-2.0
#include "DatabaseFingerprint.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

QString fileMark(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("-;");
    return QStringLiteral("%1@%2;").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

// A database and its write-ahead log, where a commit lands first.
QString databaseMark(const QString& base) {
    return fileMark(base) + fileMark(base + QStringLiteral("-wal"));
}

} // namespace

QString databaseFingerprint(const QString& lonWorksFolder, const QString& settingsStoreFile) {
    QString mark = databaseMark(settingsStoreFile);
    if (lonWorksFolder.isEmpty())
        return mark;
    const QDir databases(lonWorksFolder + QStringLiteral("/Databases"));
    for (const QString& network : databases.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        mark += network + QLatin1Char('=') +
                databaseMark(databases.filePath(network) + QStringLiteral("/network.sqlite3"));
    return mark;
}
