// SPDX-License-Identifier: Apache-2.0
#include "objectserver/ObjectServerFromSettings.h"

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace lns::sim {

namespace {

// The setting in the system's form, or what keeps the server from a folder:
// a store that cannot be read says why, so nobody is sent to lay out anew a
// folder that is there.
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

} // namespace

std::unique_ptr<SimObjectServer> objectServerFromSettings(SettingsStore& store) {
    QString problem;
    const QString folder = lonWorksPath(store, problem);
    auto server =
        std::make_unique<SimObjectServer>(folder.isEmpty() ? QString() : Paths::toNative(folder));
    server->setUnavailableReason(problem);
    // A program's server keeps its journal only in LNS_SIM_JOURNAL: in memory
    // it would grow with every call of a long session.
    server->keepJournal(false);
    return server;
}

} // namespace lns::sim
