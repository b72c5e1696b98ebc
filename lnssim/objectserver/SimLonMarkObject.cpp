// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimLonMarkObject.h"

#include "objectserver/SimComponentApps.h"
#include "objectserver/SimConfigProperty.h"

namespace lns::sim {

SimLonMarkObject::SimLonMarkObject(std::shared_ptr<RecordStore> store,
                                   Shared<LonMarkObjectRecord> record,
                                   Shared<AppDeviceRecord> device, Ref<lns::LonMarkObjects> parent)
    : m_store(std::move(store)), m_record(std::move(record)), m_device(std::move(device)),
      m_parent(std::move(parent)) {}

void SimLonMarkObject::record(const QString& call) const {
    m_store->beginCall(QStringLiteral("LonMarkObject.") + call);
}

QString SimLonMarkObject::Name() const {
    record(QStringLiteral("Name"));
    return m_record->name;
}

int SimLonMarkObject::Index() const {
    record(QStringLiteral("Index"));
    return m_record->index;
}

int SimLonMarkObject::TypeIndex() const {
    record(QStringLiteral("TypeIndex"));
    return m_record->typeIndex;
}

int SimLonMarkObject::ResourceScope() const {
    record(QStringLiteral("ResourceScope"));
    return m_record->scope;
}

void SimLonMarkObject::setResourceScope(int scope) {
    record(QStringLiteral("setResourceScope %1").arg(scope));
    if (scope < 0 || scope > 15)
        throw Error::lns(Code::InvalidArgument, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1 is not a resource scope.").arg(scope));
    const int previous = m_record->scope;
    m_store->commit([&] { m_record->scope = scope; }, [&] { m_record->scope = previous; });
}

Ref<lns::ConfigProperties> SimLonMarkObject::ConfigProperties() const {
    record(QStringLiteral("ConfigProperties"));
    return std::make_shared<SimConfigProperties>(
        m_store, Shared<SharedList<ConfigPropertyRecord>>(m_record, &m_record->configProperties),
        m_device);
}

Ref<lns::ComponentApps> SimLonMarkObject::ComponentApps() const {
    record(QStringLiteral("ComponentApps"));
    return std::make_shared<SimComponentApps>(
        m_store, Shared<SharedList<ComponentAppRecord>>(m_record, &m_record->componentApps));
}

Ref<lns::LonMarkObjects> SimLonMarkObject::Parent() const {
    record(QStringLiteral("Parent"));
    return m_parent;
}

SimLonMarkObjects::SimLonMarkObjects(std::shared_ptr<RecordStore> store,
                                     Shared<InterfaceRecord> interface,
                                     Shared<AppDeviceRecord> device, Ref<lns::Interface> parent)
    : SimCollection(QStringLiteral("LonMarkObjects")), m_store(std::move(store)),
      m_interface(std::move(interface)), m_device(std::move(device)), m_parent(std::move(parent)) {}

Ref<lns::Interface> SimLonMarkObjects::Parent() const {
    beginCall(QStringLiteral("LonMarkObjects.Parent"));
    return m_parent;
}

const SharedList<LonMarkObjectRecord>& SimLonMarkObjects::records() const {
    return m_interface->lonMarkObjects;
}

Ref<LonMarkObject> SimLonMarkObjects::wrap(const Shared<LonMarkObjectRecord>& record) const {
    return std::make_shared<SimLonMarkObject>(
        m_store, record, m_device, std::const_pointer_cast<SimLonMarkObjects>(shared_from_this()));
}

bool SimLonMarkObjects::matches(const LonMarkObjectRecord& record, const QString& name) const {
    return record.name == name || QString::number(record.index) == name;
}

} // namespace lns::sim
