// SPDX-License-Identifier: Apache-2.0
#include "objectserver/ObjectServerFromSettings.h"

#include "objectserver/PlatformLayout.h"
#include "platform/Paths.h"

namespace lns::sim {

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
