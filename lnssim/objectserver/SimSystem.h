// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

// A system of an open network. Its contents can be reached only while it is
// open; opening needs the network open.
class SimSystem : public System {
public:
    SimSystem(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> record);

    QString Name() const override;
    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    int ManagementMode() const override;
    Ref<lns::Subsystems> Subsystems() const override;
    Ref<lns::TemplateLibrary> TemplateLibrary() const override;
    Ref<lns::ComponentApps> ComponentApps() const override;
    Ref<lns::NetworkServiceDevice> NetworkServiceDevice() const override;
    // The database's folder, or the Import folder of the LonWorks folder.
    QString XifFolder() const override;
    void setInternetPathOption(bool enabled) override;
    // Only while the Internet-path option is set.
    void InternetPathOperation(int argument) override;
    void setTimingSetting(int value) override;

private:
    void record(const QString& call) const;
    void requireOpen() const;

    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SystemRecord> m_record;
};

class SimSystems : public SimCollection<System, SystemRecord, Systems> {
public:
    explicit SimSystems(std::shared_ptr<NetworkDatabase> database);

protected:
    void beginCall(const QString& line) const override { m_database->beginCall(line); }
    const SharedList<SystemRecord>& records() const override;
    Ref<System> wrap(const Shared<SystemRecord>& record) const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
};

} // namespace lns::sim
