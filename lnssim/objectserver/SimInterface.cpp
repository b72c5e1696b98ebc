// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimInterface.h"

#include "objectserver/SimConfigProperty.h"
#include "objectserver/SimLonMarkObject.h"
#include "objectserver/SimNetworkVariable.h"

namespace lns::sim {

SimInterface::SimInterface(std::shared_ptr<RecordStore> store, Shared<InterfaceRecord> record,
                           Shared<AppDeviceRecord> device, Ref<AppDevice> owner)
    : m_store(std::move(store)), m_record(std::move(record)), m_device(std::move(device)),
      m_owner(std::move(owner)) {}

Ref<lns::NetworkVariables> SimInterface::NetworkVariables() const {
    m_store->beginCall(QStringLiteral("Interface.NetworkVariables"));
    return std::make_shared<SimNetworkVariables>(m_store, m_record, m_device);
}

Ref<lns::LonMarkObjects> SimInterface::LonMarkObjects() const {
    m_store->beginCall(QStringLiteral("Interface.LonMarkObjects"));
    return std::make_shared<SimLonMarkObjects>(
        m_store, m_record, m_device, std::const_pointer_cast<SimInterface>(shared_from_this()));
}

Ref<lns::ConfigProperties> SimInterface::ConfigProperties() const {
    m_store->beginCall(QStringLiteral("Interface.ConfigProperties"));
    return std::make_shared<SimConfigProperties>(
        m_store, Shared<SharedList<ConfigPropertyRecord>>(m_record, &m_record->configProperties),
        m_device);
}

Ref<AppDevice> SimInterface::Parent() const {
    m_store->beginCall(QStringLiteral("Interface.Parent"));
    return m_owner;
}

} // namespace lns::sim
