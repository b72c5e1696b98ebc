// SPDX-License-Identifier: Apache-2.0
#include "platform/WindowSystem.h"

#include <QtGlobal>
#include <xcb/xcb.h>

namespace {

bool s_missing = false;
QString s_reason;

bool displayReachable(const QByteArray& display) {
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

// Qt's X11 platform ends the process when it cannot connect; so does the
// default platform, which is X11 here, when Wayland is not named.
bool usesX11() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return platform.startsWith("xcb");
}

} // namespace

namespace WindowSystem {

bool prepare() {
    const QByteArray display = qgetenv("DISPLAY");
    s_missing = false;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && display.isEmpty() &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        s_missing = true;
        s_reason =
            QStringLiteral("no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    } else if (usesX11() && !displayReachable(display)) {
        s_missing = true;
        s_reason = display.isEmpty()
                       ? QStringLiteral("no display is available (DISPLAY is not set)")
                       : QStringLiteral("the display %1 cannot be reached")
                             .arg(QString::fromLocal8Bit(display));
    }
    if (s_missing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return s_missing;
}

bool missing() {
    return s_missing;
}

QString missingReason() {
    return s_reason;
}

} // namespace WindowSystem
