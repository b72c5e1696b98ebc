// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/RecordStore.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimNetworkVariable : public NetworkVariable {
public:
    SimNetworkVariable(std::shared_ptr<RecordStore> store, Shared<NetworkVariableRecord> record,
                       Shared<AppDeviceRecord> device);

    QString Name() const override;
    int Index() const override;
    Ref<lns::ConfigProperties> ConfigProperties() const override;

private:
    std::shared_ptr<RecordStore> m_store;
    Shared<NetworkVariableRecord> m_record;
    Shared<AppDeviceRecord> m_device;
};

class SimNetworkVariables
    : public SimCollection<NetworkVariable, NetworkVariableRecord, NetworkVariables> {
public:
    SimNetworkVariables(std::shared_ptr<RecordStore> store, Shared<InterfaceRecord> interface,
                        Shared<AppDeviceRecord> device);

protected:
    void beginCall(const QString& line) const override { m_store->beginCall(line); }
    const SharedList<NetworkVariableRecord>& records() const override;
    Ref<NetworkVariable> wrap(const Shared<NetworkVariableRecord>& record) const override;

private:
    std::shared_ptr<RecordStore> m_store;
    Shared<InterfaceRecord> m_interface;
    Shared<AppDeviceRecord> m_device;
};

} // namespace lns::sim
