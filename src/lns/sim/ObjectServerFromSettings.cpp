#include "lns/sim/ObjectServerFromSettings.h"

#include "platform/Paths.h"
#include "support/CRegistry.h"

namespace lns::sim {

std::unique_ptr<SimObjectServer> objectServerFromSettings(SettingsStore& store) {
    CRegistry registry(store);
    const QString folder = registry.MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                   QStringLiteral("LonWorks Path"));
    auto server =
        std::make_unique<SimObjectServer>(folder.isEmpty() ? QString() : Paths::toNative(folder));
    // A program's server keeps its journal only in LNS_SIM_JOURNAL: in memory
    // it would grow with every call of a long session.
    server->keepJournal(false);
    return server;
}

} // namespace lns::sim
