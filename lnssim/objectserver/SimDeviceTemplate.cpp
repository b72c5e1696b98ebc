// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimDeviceTemplate.h"

#include "objectserver/NetworkDocument.h"
#include "objectserver/SimComponentApps.h"
#include "objectserver/SimInterface.h"
#include "objectserver/XifReader.h"
#include "platform/Paths.h"

#include <algorithm>

namespace lns::sim {

int devicesUsingTemplate(const SystemRecord& system, const QString& templateName) {
    int count = 0;
    for (const auto& subsystem : system.subsystems)
        count += static_cast<int>(std::count_if(
            subsystem->devices.begin(), subsystem->devices.end(),
            [&](const auto& device) { return device->templateName == templateName; }));
    return count;
}

SimDeviceTemplate::SimDeviceTemplate(std::shared_ptr<RecordStore> store,
                                     Shared<DeviceTemplateRecord> record,
                                     Shared<SystemRecord> system)
    : m_store(std::move(store)), m_record(std::move(record)), m_system(std::move(system)) {}

void SimDeviceTemplate::record(const QString& call) const {
    m_store->beginCall(QStringLiteral("DeviceTemplate.") + call);
}

QString SimDeviceTemplate::Name() const {
    record(QStringLiteral("Name"));
    return m_record->name;
}

QString SimDeviceTemplate::ProgramId() const {
    record(QStringLiteral("ProgramId"));
    return m_record->programId;
}

void SimDeviceTemplate::Import(const QString& xifPath) {
    record(QStringLiteral("Import ") + Journal::quoted(xifPath));
    const XifDocument document = XifReader::read(Paths::toNative(xifPath));
    const QString previousId = m_record->programId;
    const Shared<InterfaceRecord> previousInterface = m_record->interface;
    m_store->commit(
        [&] {
            m_record->programId = document.programId;
            m_record->interface = document.interface;
        },
        [&] {
            m_record->programId = previousId;
            m_record->interface = previousInterface;
        });
}

Ref<lns::ComponentApps> SimDeviceTemplate::ComponentApps() const {
    record(QStringLiteral("ComponentApps"));
    return std::make_shared<SimComponentApps>(
        m_store, Shared<SharedList<ComponentAppRecord>>(m_record, &m_record->componentApps));
}

Ref<lns::Interface> SimDeviceTemplate::Interface() const {
    record(QStringLiteral("Interface"));
    return std::make_shared<SimInterface>(m_store, m_record->interface, nullptr, nullptr);
}

int SimDeviceTemplate::AppDeviceCount() const {
    record(QStringLiteral("AppDeviceCount"));
    return devicesUsingTemplate(*m_system, m_record->name);
}

SimDeviceTemplates::SimDeviceTemplates(std::shared_ptr<NetworkDatabase> database,
                                       Shared<SystemRecord> system)
    : SimCollection(QStringLiteral("DeviceTemplates")), m_database(std::move(database)),
      m_system(std::move(system)) {}

Ref<DeviceTemplate> SimDeviceTemplates::wrap(const Shared<DeviceTemplateRecord>& record) const {
    return std::make_shared<SimDeviceTemplate>(m_database->documentOf(m_system, record), record,
                                               m_system);
}

bool SimDeviceTemplates::matches(const DeviceTemplateRecord& record, const QString& name) const {
    return record.name == name || (!record.programId.isEmpty() &&
                                   record.programId.compare(name, Qt::CaseInsensitive) == 0);
}

Ref<DeviceTemplate> SimDeviceTemplates::Add(const QString& name, int mode) {
    beginCall(QStringLiteral("DeviceTemplates.Add %1 %2").arg(Journal::quoted(name)).arg(mode));
    const auto& templates = m_system->templates;
    if (std::any_of(templates.begin(), templates.end(),
                    [&](const auto& existing) { return existing->name == name; }))
        throw Error::lns(Code::AlreadyExists, QStringLiteral("LNS Object Server"),
                         QStringLiteral("A device template named %1 exists already.")
                             .arg(Journal::quoted(name)));
    auto record = std::make_shared<DeviceTemplateRecord>();
    record->name = name;
    m_database->addTemplate(*m_system, record);
    return wrap(record);
}

void SimDeviceTemplates::Remove(const QString& name) {
    beginCall(QStringLiteral("DeviceTemplates.Remove ") + Journal::quoted(name));
    const auto& templates = m_system->templates;
    const auto found = std::find_if(templates.begin(), templates.end(),
                                    [&](const auto& record) { return matches(*record, name); });
    if (found == templates.end())
        throw notFound(Journal::quoted(name));
    const int users = devicesUsingTemplate(*m_system, (*found)->name);
    if (users > 0)
        throw Error::lns(Code::InvalidArgument, QStringLiteral("LNS Object Server"),
                         QStringLiteral("The device template %1 is used by %2 devices.")
                             .arg(Journal::quoted((*found)->name))
                             .arg(users));
    const Shared<DeviceTemplateRecord> removed = *found; // the list changes underneath
    m_database->removeTemplate(*m_system, removed);
}

SimTemplateLibrary::SimTemplateLibrary(std::shared_ptr<NetworkDatabase> database,
                                       Shared<SystemRecord> system)
    : m_database(std::move(database)), m_system(std::move(system)) {}

Ref<lns::DeviceTemplates> SimTemplateLibrary::DeviceTemplates() const {
    m_database->beginCall(QStringLiteral("TemplateLibrary.DeviceTemplates"));
    return std::make_shared<SimDeviceTemplates>(m_database, m_system);
}

} // namespace lns::sim
