// SPDX-License-Identifier: Apache-2.0
#include "lns/LonWorksPlatform.h"
#include "objectserver/NetworkName.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/PlatformLayout.h"
#include "objectserver/SimResourceCatalog.h"

namespace lns {

namespace {

// The simulated platform under the LonWorks folder the settings store names.
class SimulatedPlatform : public LonWorksPlatform {
public:
    explicit SimulatedPlatform(SettingsStore& store) : m_store(store) {}

    Ref<ObjectServer> objectServer() override { return sim::objectServerFromSettings(m_store); }
    ResourceCatalogFactory resourceCatalogs() override { return sim::simResourceCatalogFactory(); }
    bool laidOut() override { return sim::platformLaidOut(m_store); }
    void requireNetworkName(const QString& name) override { sim::requireNetworkName(name); }

private:
    SettingsStore& m_store;
};

} // namespace

std::unique_ptr<LonWorksPlatform> lonWorksPlatform(SettingsStore& store) {
    return std::make_unique<SimulatedPlatform>(store);
}

} // namespace lns
