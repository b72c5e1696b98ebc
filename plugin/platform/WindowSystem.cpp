// SPDX-License-Identifier: Apache-2.0
#include "platform/WindowSystem.h"

#include <QtGlobal>

namespace {

bool s_missing = false;

} // namespace

namespace WindowSystem {

bool prepare() {
    s_missing = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                qEnvironmentVariableIsEmpty("DISPLAY") &&
                qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (s_missing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return s_missing;
}

bool missing() {
    return s_missing;
}

QString missingReason() {
    return QStringLiteral("no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)");
}

} // namespace WindowSystem
