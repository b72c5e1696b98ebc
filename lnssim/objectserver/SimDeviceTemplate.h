// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/RecordStore.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimDeviceTemplate : public DeviceTemplate {
public:
    SimDeviceTemplate(std::shared_ptr<RecordStore> store, Shared<DeviceTemplateRecord> record,
                      Shared<SystemRecord> system);

    QString Name() const override;
    QString ProgramId() const override;
    // Replaces the program ID and interface with the file's; a file that cannot
    // be read leaves the template as it was and fails with ImportFailed.
    void Import(const QString& xifPath) override;
    Ref<lns::ComponentApps> ComponentApps() const override;
    Ref<lns::Interface> Interface() const override;
    int AppDeviceCount() const override;

private:
    void record(const QString& call) const;

    std::shared_ptr<RecordStore> m_store;
    Shared<DeviceTemplateRecord> m_record;
    Shared<SystemRecord> m_system;
};

// Finds a template by its name or by its program ID.
class SimDeviceTemplates
    : public SimCollection<DeviceTemplate, DeviceTemplateRecord, DeviceTemplates> {
public:
    SimDeviceTemplates(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> system);

    // Other processes see the new template once it is imported (or changed
    // otherwise), with all its content, or when this process closes the network.
    Ref<DeviceTemplate> Add(const QString& name, int mode) override;
    // A template that devices still use is kept and the call fails.
    void Remove(const QString& name) override;

protected:
    void beginCall(const QString& line) const override { m_database->beginCall(line); }
    const SharedList<DeviceTemplateRecord>& records() const override { return m_system->templates; }
    Ref<DeviceTemplate> wrap(const Shared<DeviceTemplateRecord>& record) const override;
    bool matches(const DeviceTemplateRecord& record, const QString& name) const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SystemRecord> m_system;
};

class SimTemplateLibrary : public TemplateLibrary {
public:
    SimTemplateLibrary(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> system);
    Ref<lns::DeviceTemplates> DeviceTemplates() const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
    Shared<SystemRecord> m_system;
};

// Devices of the system that use the template.
int devicesUsingTemplate(const SystemRecord& system, const QString& templateName);

} // namespace lns::sim
