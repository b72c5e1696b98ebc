// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "lns/ResourceCatalog.h"

#include <QString>
#include <memory>

class SettingsStore;

namespace lns {

// The LonWorks platform a program runs on, as the settings store names it.
// The product reaches the platform through this and the interfaces beside it
// only: the simulated platform (lnssim/) implements lonWorksPlatform(); an LNS
// client library would replace that one function.
class LonWorksPlatform {
public:
    virtual ~LonWorksPlatform() = default;
    // An Object Server over the platform's folder, not opened yet. Without a
    // platform, opening it fails with a message that says how to lay one out.
    virtual Ref<ObjectServer> objectServer() = 0;
    // The LonMark resource catalog, a new one per call of the factory.
    virtual ResourceCatalogFactory resourceCatalogs() = 0;
    // Whether the platform has been laid out on this machine.
    virtual bool laidOut() = 0;
    // Refuses a name no network of the platform can have, with
    // Error(InvalidArgument) naming it.
    virtual void requireNetworkName(const QString& name) = 0;
};

// The platform the settings store names; the store must outlive it.
std::unique_ptr<LonWorksPlatform> lonWorksPlatform(SettingsStore& store);

} // namespace lns
