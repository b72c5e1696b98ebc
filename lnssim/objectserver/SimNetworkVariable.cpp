// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimNetworkVariable.h"

#include "objectserver/SimConfigProperty.h"

namespace lns::sim {

SimNetworkVariable::SimNetworkVariable(std::shared_ptr<RecordStore> store,
                                       Shared<NetworkVariableRecord> record,
                                       Shared<AppDeviceRecord> device)
    : m_store(std::move(store)), m_record(std::move(record)), m_device(std::move(device)) {}

QString SimNetworkVariable::Name() const {
    m_store->beginCall(QStringLiteral("NetworkVariable.Name"));
    return m_record->name;
}

int SimNetworkVariable::Index() const {
    m_store->beginCall(QStringLiteral("NetworkVariable.Index"));
    return m_record->index;
}

Ref<lns::ConfigProperties> SimNetworkVariable::ConfigProperties() const {
    m_store->beginCall(QStringLiteral("NetworkVariable.ConfigProperties"));
    return std::make_shared<SimConfigProperties>(
        m_store, Shared<SharedList<ConfigPropertyRecord>>(m_record, &m_record->configProperties),
        m_device);
}

SimNetworkVariables::SimNetworkVariables(std::shared_ptr<RecordStore> store,
                                         Shared<InterfaceRecord> interface,
                                         Shared<AppDeviceRecord> device)
    : SimCollection(QStringLiteral("NetworkVariables")), m_store(std::move(store)),
      m_interface(std::move(interface)), m_device(std::move(device)) {}

const SharedList<NetworkVariableRecord>& SimNetworkVariables::records() const {
    return m_interface->networkVariables;
}

Ref<NetworkVariable> SimNetworkVariables::wrap(const Shared<NetworkVariableRecord>& record) const {
    return std::make_shared<SimNetworkVariable>(m_store, record, m_device);
}

} // namespace lns::sim
