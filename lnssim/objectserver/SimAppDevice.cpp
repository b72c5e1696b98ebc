// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimAppDevice.h"

#include "objectserver/SimDeviceTemplate.h"
#include "objectserver/SimInterface.h"

namespace lns::sim {

SimAppDevice::SimAppDevice(std::shared_ptr<NetworkDocument> store, Shared<AppDeviceRecord> record,
                           Shared<SystemRecord> system)
    : m_store(std::move(store)), m_record(std::move(record)), m_system(std::move(system)) {}

void SimAppDevice::record(const QString& call) const {
    m_store->beginCall(QStringLiteral("AppDevice.") + call);
}

QString SimAppDevice::Name() const {
    record(QStringLiteral("Name"));
    return m_record->name;
}

Ref<lns::Interface> SimAppDevice::Interface() const {
    record(QStringLiteral("Interface"));
    return std::make_shared<SimInterface>(
        m_store, m_store->database()->interfaceOf(*m_record), m_record,
        std::const_pointer_cast<SimAppDevice>(shared_from_this()));
}

bool SimAppDevice::Commissioned() const {
    record(QStringLiteral("Commissioned"));
    return m_record->commissioned;
}

int SimAppDevice::Test() {
    record(QStringLiteral("Test ") + Journal::quoted(m_record->name));
    m_store->carryTransaction();
    if (m_record->failure == Failure::Unreachable)
        return Code::DeviceUnreachable;
    return m_record->testResult;
}

int SimAppDevice::State() const {
    record(QStringLiteral("State ") + Journal::quoted(m_record->name));
    m_store->carryTransaction();
    if (m_record->failure == Failure::Unreachable)
        throw Error::lns(Code::DeviceUnreachable, QStringLiteral("LNS Object Server"),
                         QStringLiteral("Failed to communicate with target device."));
    return m_record->state;
}

Ref<lns::DeviceTemplate> SimAppDevice::DeviceTemplate() const {
    record(QStringLiteral("DeviceTemplate"));
    for (const auto& deviceTemplate : m_system->templates) {
        if (deviceTemplate->name == m_record->templateName)
            return std::make_shared<SimDeviceTemplate>(
                m_store->database()->documentOf(m_system, deviceTemplate), deviceTemplate,
                m_system);
    }
    throw Error::lns(Code::NotFound, QStringLiteral("LNS Object Server"),
                     QStringLiteral("The device template %1 of %2 is not in the system.")
                         .arg(Journal::quoted(m_record->templateName), m_record->name));
}

QString SimAppDevice::ProgramId() const {
    record(QStringLiteral("ProgramId"));
    return m_record->programId;
}

void SimAppDevice::setOnlineAccess(int value) {
    record(QStringLiteral("setOnlineAccess %1").arg(value));
    m_record->onlineAccess = value;
}

SimAppDevices::SimAppDevices(std::shared_ptr<NetworkDatabase> database,
                             Shared<SubsystemRecord> subsystem, Shared<SystemRecord> system)
    : SimCollection(QStringLiteral("AppDevices")), m_database(std::move(database)),
      m_subsystem(std::move(subsystem)), m_system(std::move(system)) {}

Ref<AppDevice> SimAppDevices::wrap(const Shared<AppDeviceRecord>& record) const {
    const Shared<AppDeviceRecord> own = m_database->ownDevice(record);
    return std::make_shared<SimAppDevice>(m_database->documentOf(own), own, m_system);
}

} // namespace lns::sim
