#include "lns/sim/SimSubsystem.h"

#include "lns/sim/SimAppDevice.h"

namespace lns::sim {

SimSubsystem::SimSubsystem(std::shared_ptr<RecordStore> store, Shared<SubsystemRecord> record,
                           Shared<SystemRecord> system)
    : m_store(std::move(store)), m_record(std::move(record)), m_system(std::move(system)) {}

QString SimSubsystem::Name() const {
    m_store->server().journal.record(QStringLiteral("Subsystem.Name"));
    return m_record->name;
}

Ref<lns::AppDevices> SimSubsystem::AppDevices() const {
    m_store->server().journal.record(QStringLiteral("Subsystem.AppDevices"));
    return std::make_shared<SimAppDevices>(m_store, m_record, m_system);
}

SimSubsystems::SimSubsystems(std::shared_ptr<RecordStore> store, Shared<SystemRecord> system)
    : SimCollection(QStringLiteral("Subsystems")), m_store(std::move(store)),
      m_system(std::move(system)) {}

Ref<Subsystem> SimSubsystems::wrap(const Shared<SubsystemRecord>& record) const {
    return std::make_shared<SimSubsystem>(m_store, record, m_system);
}

} // namespace lns::sim
