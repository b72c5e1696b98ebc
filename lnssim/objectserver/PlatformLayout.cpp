// SPDX-License-Identifier: Apache-2.0
#include "objectserver/PlatformLayout.h"

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace lns::sim {

namespace {

// The machine setting "LonWorks Path", up to its first NUL; empty when it is
// missing, not a string, or the store cannot be read.
QString lonWorksPath(SettingsStore& store) {
    try {
        const auto value = store.value(Hive::LocalMachine, QStringLiteral("SOFTWARE\\LonWorks"),
                                       QStringLiteral("LonWorks Path"));
        if (!value || value->type != ValueType::String)
            return QString();
        return value->text().section(QChar(u'\0'), 0, 0);
    } catch (const Error&) {
        return QString();
    }
}

} // namespace

bool platformLaidOut(SettingsStore& store) {
    const QString folder = lonWorksPath(store);
    return !folder.isEmpty() && QFileInfo(Paths::toNative(folder)).isDir();
}

} // namespace lns::sim
