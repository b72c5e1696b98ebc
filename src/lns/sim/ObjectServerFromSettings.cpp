#include "lns/sim/ObjectServerFromSettings.h"

#include "platform/Paths.h"
#include "support/CRegistry.h"

namespace lns::sim {

std::unique_ptr<SimObjectServer> objectServerFromSettings(SettingsStore& store) {
    CRegistry registry(store);
    const QString folder = registry.MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                   QStringLiteral("LonWorks Path"));
    return std::make_unique<SimObjectServer>(folder.isEmpty() ? QString()
                                                              : Paths::toNative(folder));
}

} // namespace lns::sim
