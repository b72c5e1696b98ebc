// SPDX-License-Identifier: Apache-2.0
#include "lns/sim/PlatformLayout.h"

#include "platform/Paths.h"
#include "support/CRegistry.h"

#include <QFileInfo>

namespace lns::sim {

bool platformLaidOut(SettingsStore& store) {
    const QString folder = CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                           QStringLiteral("LonWorks Path"));
    return !folder.isEmpty() && QFileInfo(Paths::toNative(folder)).isDir();
}

} // namespace lns::sim
