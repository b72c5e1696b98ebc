// SPDX-License-Identifier: Apache-2.0
#include "objectserver/PlatformLayout.h"

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace lns::sim {

QString lonWorksPath(SettingsStore& store, QString& problem) {
    try {
        const auto path = store.value(Hive::LocalMachine, QStringLiteral("SOFTWARE\\LonWorks"),
                                      QStringLiteral("LonWorks Path"));
        const QString text = path && path->type == ValueType::String ? path->text() : QString();
        const QString folder = text.section(QChar(u'\0'), 0, 0);
        if (folder.isEmpty())
            problem = QStringLiteral("The settings store %1 does not name the LonWorks folder; lay "
                                     "it out with \"lns-host setup\".")
                          .arg(store.file());
        return folder;
    } catch (const Error& error) {
        problem = error.description();
        return QString();
    }
}

bool platformLaidOut(SettingsStore& store) {
    QString problem;
    const QString folder = lonWorksPath(store, problem);
    return !folder.isEmpty() && QFileInfo(Paths::toNative(folder)).isDir();
}

} // namespace lns::sim
