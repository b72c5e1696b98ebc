// SPDX-License-Identifier: Apache-2.0
#include "window/WindowPlacement.h"

#include <QSettings>
#include <QStandardPaths>

namespace WindowPlacement {

namespace {

// Looked up on every use, so that a changed XDG_CONFIG_HOME is followed.
QString userSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zentaro/RM42xxPirConfigure.conf");
}

QString key(const QString& windowName) {
    return windowName + QStringLiteral("/geometry");
}

} // namespace

QRect opening(const std::optional<QRect>& saved, const QSize& wanted, const QRect& area) {
    if (saved && saved->isValid() && area.contains(*saved))
        return *saved;
    const QSize size = wanted.boundedTo(area.size());
    return {QPoint(area.x() + (area.width() - size.width()) / 2,
                   area.y() + (area.height() - size.height()) / 2),
            size};
}

std::optional<QRect> load(const QString& windowName) {
    const QVariant value =
        QSettings(userSettingsFile(), QSettings::IniFormat).value(key(windowName));
    if (!value.canConvert<QRect>() || !value.toRect().isValid())
        return std::nullopt;
    return value.toRect();
}

void save(const QString& windowName, const QRect& geometry) {
    QSettings(userSettingsFile(), QSettings::IniFormat).setValue(key(windowName), geometry);
}

} // namespace WindowPlacement
