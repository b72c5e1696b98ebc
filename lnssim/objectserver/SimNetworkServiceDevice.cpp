// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimNetworkServiceDevice.h"

#include "objectserver/SimNetworkInterface.h"

namespace lns::sim {

SimNetworkServiceDevice::SimNetworkServiceDevice(std::shared_ptr<NetworkDatabase> database,
                                                 Shared<SystemRecord> system)
    : m_database(std::move(database)), m_system(std::move(system)) {}

Ref<lns::NetworkInterface> SimNetworkServiceDevice::NetworkInterface() const {
    m_database->beginCall(QStringLiteral("NetworkServiceDevice.NetworkInterface"));
    if (m_system->currentInterface.isEmpty())
        return nullptr;
    return std::make_shared<SimNetworkInterface>(m_database->sharedServer(),
                                                 m_system->currentInterface);
}

void SimNetworkServiceDevice::setNetworkInterface(
    const Ref<lns::NetworkInterface>& networkInterface) {
    // The name is read before the call is journaled, so the journal keeps call order.
    const QString name = networkInterface ? networkInterface->Name() : QString();
    m_database->beginCall(QStringLiteral("NetworkServiceDevice.setNetworkInterface ") +
                          (networkInterface ? Journal::quoted(name) : QStringLiteral("Nothing")));
    m_system->currentInterface = name;
}

} // namespace lns::sim
