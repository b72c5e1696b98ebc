// SPDX-License-Identifier: Apache-2.0
#include "model/DeviceStateWord.h"

QString DeviceStateWord(int state) {
    switch (state) {
    case 2:
        return QStringLiteral("Unconfigured");
    case 3:
        return QStringLiteral("App'less");
    case ConfiguredOnline:
        return QStringLiteral("Cnfg Online");
    case 6:
        return QStringLiteral("Cnfg Offline");
    case 12:
        return QStringLiteral("Soft Offline");
    case 140:
        return QStringLiteral("Cnfg Bypass");
    default:
        return QStringLiteral("?");
    }
}
