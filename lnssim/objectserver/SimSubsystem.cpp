// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimSubsystem.h"

#include "objectserver/SimAppDevice.h"

namespace lns::sim {

SimSubsystem::SimSubsystem(std::shared_ptr<NetworkDatabase> database,
                           Shared<SubsystemRecord> record, Shared<SystemRecord> system)
    : m_database(std::move(database)), m_record(std::move(record)), m_system(std::move(system)) {}

QString SimSubsystem::Name() const {
    m_database->beginCall(QStringLiteral("Subsystem.Name"));
    return m_record->name;
}

Ref<lns::AppDevices> SimSubsystem::AppDevices() const {
    m_database->beginCall(QStringLiteral("Subsystem.AppDevices"));
    return std::make_shared<SimAppDevices>(m_database, m_record, m_system);
}

SimSubsystems::SimSubsystems(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> system)
    : SimCollection(QStringLiteral("Subsystems")), m_database(std::move(database)),
      m_system(std::move(system)) {}

Ref<Subsystem> SimSubsystems::wrap(const Shared<SubsystemRecord>& record) const {
    return std::make_shared<SimSubsystem>(m_database, record, m_system);
}

} // namespace lns::sim
