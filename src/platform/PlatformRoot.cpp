#include "platform/PlatformRoot.h"

#include <QDir>
#include <QStandardPaths>

namespace PlatformRoot {

QString folder() {
    const QString fromEnvironment = qEnvironmentVariable("LNS_PLATFORM_ROOT");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
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
