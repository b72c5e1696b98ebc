// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimSubsystem : public Subsystem {
public:
    SimSubsystem(std::shared_ptr<NetworkDatabase> database, Shared<SubsystemRecord> record,
                 Shared<SystemRecord> system);

    QString Name() const override;
    Ref<lns::AppDevices> AppDevices() const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SubsystemRecord> m_record;
    Shared<SystemRecord> m_system;
};

class SimSubsystems : public SimCollection<Subsystem, SubsystemRecord, Subsystems> {
public:
    SimSubsystems(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> system);

protected:
    void beginCall(const QString& line) const override { m_database->beginCall(line); }
    const SharedList<SubsystemRecord>& records() const override { return m_system->subsystems; }
    Ref<Subsystem> wrap(const Shared<SubsystemRecord>& record) const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SystemRecord> m_system;
};

} // namespace lns::sim
