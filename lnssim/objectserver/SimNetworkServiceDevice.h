// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"

#include <memory>

namespace lns::sim {

class SimNetworkServiceDevice : public NetworkServiceDevice {
public:
    SimNetworkServiceDevice(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> system);

    Ref<lns::NetworkInterface> NetworkInterface() const override;
    // Empty switches the system to engineered mode until an interface is given back.
    void setNetworkInterface(const Ref<lns::NetworkInterface>& networkInterface) override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SystemRecord> m_system;
};

} // namespace lns::sim
