// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/RecordStore.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimLonMarkObjects;

class SimLonMarkObject : public LonMarkObject {
public:
    SimLonMarkObject(std::shared_ptr<RecordStore> store, Shared<LonMarkObjectRecord> record,
                     Shared<AppDeviceRecord> device, Ref<lns::LonMarkObjects> parent);

    QString Name() const override;
    int Index() const override;
    int TypeIndex() const override;
    int ResourceScope() const override;
    void setResourceScope(int scope) override;
    Ref<lns::ConfigProperties> ConfigProperties() const override;
    Ref<lns::ComponentApps> ComponentApps() const override;
    Ref<lns::LonMarkObjects> Parent() const override;

private:
    void record(const QString& call) const;

    std::shared_ptr<RecordStore> m_store;
    Shared<LonMarkObjectRecord> m_record;
    Shared<AppDeviceRecord> m_device;
    Ref<lns::LonMarkObjects> m_parent;
};

// Finds an object by its name or by its index written in decimal.
class SimLonMarkObjects : public SimCollection<LonMarkObject, LonMarkObjectRecord, LonMarkObjects>,
                          public std::enable_shared_from_this<SimLonMarkObjects> {
public:
    SimLonMarkObjects(std::shared_ptr<RecordStore> store, Shared<InterfaceRecord> interface,
                      Shared<AppDeviceRecord> device, Ref<lns::Interface> parent);

    Ref<lns::Interface> Parent() const override;

protected:
    void beginCall(const QString& line) const override { m_store->beginCall(line); }
    const SharedList<LonMarkObjectRecord>& records() const override;
    Ref<LonMarkObject> wrap(const Shared<LonMarkObjectRecord>& record) const override;
    bool matches(const LonMarkObjectRecord& record, const QString& name) const override;

private:
    std::shared_ptr<RecordStore> m_store;
    Shared<InterfaceRecord> m_interface;
    Shared<AppDeviceRecord> m_device;
    Ref<lns::Interface> m_parent;
};

} // namespace lns::sim
