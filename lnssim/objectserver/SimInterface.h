// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/DatabaseRecords.h"
#include "objectserver/RecordStore.h"

#include <memory>

namespace lns::sim {

// The interface of a device or of a device template. `device` is the record of
// the owning device (empty for a template), `owner` the object Parent() gives.
class SimInterface : public Interface, public std::enable_shared_from_this<SimInterface> {
public:
    SimInterface(std::shared_ptr<RecordStore> store, Shared<InterfaceRecord> record,
                 Shared<AppDeviceRecord> device, Ref<AppDevice> owner);

    Ref<lns::NetworkVariables> NetworkVariables() const override;
    Ref<lns::LonMarkObjects> LonMarkObjects() const override;
    Ref<lns::ConfigProperties> ConfigProperties() const override;
    Ref<AppDevice> Parent() const override;

private:
    std::shared_ptr<RecordStore> m_store;
    Shared<InterfaceRecord> m_record;
    Shared<AppDeviceRecord> m_device;
    Ref<AppDevice> m_owner;
};

} // namespace lns::sim
