// SPDX-License-Identifier: Apache-2.0
#include "platform/PlatformRoot.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace PlatformRoot {

QString folder() {
    const QString fromEnvironment = qEnvironmentVariable("LNS_PLATFORM_ROOT");
    if (!fromEnvironment.isEmpty()) {
        const QString absolute = QDir::cleanPath(QDir(fromEnvironment).absolutePath());
        // A relative root is taken from where this program started; the
        // programs it starts, working elsewhere, get the same root.
        if (absolute != fromEnvironment)
            qputenv("LNS_PLATFORM_ROOT", QFile::encodeName(absolute));
        return absolute;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(data + QStringLiteral("/lns-platform"));
}

QString settingsStoreFile() {
    return folder() + QStringLiteral("/registry.sqlite3");
}

QString defaultLonWorksFolder() {
    return folder() + QStringLiteral("/LonWorks");
}

} // namespace PlatformRoot
