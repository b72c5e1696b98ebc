// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDocument.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimAppDevice : public AppDevice, public std::enable_shared_from_this<SimAppDevice> {
public:
    SimAppDevice(std::shared_ptr<NetworkDocument> store, Shared<AppDeviceRecord> record,
                 Shared<SystemRecord> system);

    QString Name() const override;
    Ref<lns::Interface> Interface() const override;
    bool Commissioned() const override;
    // An unreachable device fails the test with DeviceUnreachable as its result.
    int Test() override;
    int State() const override;
    Ref<lns::DeviceTemplate> DeviceTemplate() const override;
    QString ProgramId() const override;
    void setOnlineAccess(int value) override;

private:
    void record(const QString& call) const;

    std::shared_ptr<NetworkDocument> m_store;
    Shared<AppDeviceRecord> m_record;
    Shared<SystemRecord> m_system;
};

class SimAppDevices : public SimCollection<AppDevice, AppDeviceRecord, AppDevices> {
public:
    SimAppDevices(std::shared_ptr<NetworkDatabase> database, Shared<SubsystemRecord> subsystem,
                  Shared<SystemRecord> system);

protected:
    void beginCall(const QString& line) const override { m_database->beginCall(line); }
    const SharedList<AppDeviceRecord>& records() const override { return m_subsystem->devices; }
    Ref<AppDevice> wrap(const Shared<AppDeviceRecord>& record) const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SubsystemRecord> m_subsystem;
    Shared<SystemRecord> m_system;
};

} // namespace lns::sim
