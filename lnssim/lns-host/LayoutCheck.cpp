// SPDX-License-Identifier: Apache-2.0
#include "LayoutCheck.h"

#include <QDir>
#include <QFileInfo>

namespace {

void collectMissing(const QString& kit, const QString& folder, const QString& relative,
                    QStringList& missing) {
    const QDir source(kit + QLatin1Char('/') + relative);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString path =
            relative.isEmpty() ? entry.fileName() : relative + QLatin1Char('/') + entry.fileName();
        if (!QFileInfo::exists(folder + QLatin1Char('/') + path))
            missing << path;
        else if (entry.isDir())
            collectMissing(kit, folder, path, missing);
    }
}

} // namespace

QStringList missingFromLayout(const QString& kit, const QString& folder) {
    QStringList missing;
    collectMissing(kit, folder, QString(), missing);
    const QString databases = QStringLiteral("Databases/");
    for (const QString& name :
         QDir(kit + QLatin1Char('/') + databases).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString network = databases + name;
        if (missing.contains(network) || missing.contains(QStringLiteral("Databases")))
            continue;
        const QString database = network + QStringLiteral("/network.sqlite3");
        if (!QFileInfo::exists(folder + QLatin1Char('/') + database))
            missing << database;
    }
    if (!QFileInfo(folder + QStringLiteral("/bin/XIF32BIN")).isExecutable())
        missing << QStringLiteral("bin/XIF32BIN");
    return missing;
}
