// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimSystem.h"

#include "objectserver/NetworkDocument.h"
#include "objectserver/SimComponentApps.h"
#include "objectserver/SimDeviceTemplate.h"
#include "objectserver/SimNetworkServiceDevice.h"
#include "objectserver/SimSubsystem.h"
#include "platform/Paths.h"

namespace lns::sim {

namespace {

const QString Source = QStringLiteral("LNS Object Server");

} // namespace

SimSystem::SimSystem(std::shared_ptr<NetworkDatabase> database, Shared<SystemRecord> record)
    : m_database(std::move(database)), m_record(std::move(record)) {}

void SimSystem::record(const QString& call) const {
    m_database->beginCall(QStringLiteral("System.") + call);
}

void SimSystem::requireOpen() const {
    if (!m_database->isOpen() || !m_record->open)
        throw Error::lns(
            Code::NotOpen, Source,
            QStringLiteral("The system %1 is not open.").arg(Journal::quoted(m_record->name)));
}

QString SimSystem::Name() const {
    record(QStringLiteral("Name"));
    return m_record->name;
}

void SimSystem::Open() {
    record(QStringLiteral("Open ") + Journal::quoted(m_record->name));
    m_database->records(); // fails while the network is closed
    if (m_record->currentInterface.isEmpty() && m_record->engineeredModeFails)
        throw Error::lns(Code::InvalidArgument, Source,
                         QStringLiteral("The system %1 cannot be opened in engineered mode.")
                             .arg(Journal::quoted(m_record->name)));
    m_record->open = true;
}

void SimSystem::Close() {
    record(QStringLiteral("Close ") + Journal::quoted(m_record->name));
    m_record->open = false;
}

bool SimSystem::IsOpen() const {
    record(QStringLiteral("IsOpen"));
    return m_database->isOpen() && m_record->open;
}

int SimSystem::ManagementMode() const {
    record(QStringLiteral("ManagementMode"));
    return m_record->managementMode;
}

Ref<lns::Subsystems> SimSystem::Subsystems() const {
    record(QStringLiteral("Subsystems"));
    requireOpen();
    return std::make_shared<SimSubsystems>(m_database, m_record);
}

Ref<lns::TemplateLibrary> SimSystem::TemplateLibrary() const {
    record(QStringLiteral("TemplateLibrary"));
    requireOpen();
    return std::make_shared<SimTemplateLibrary>(m_database, m_record);
}

Ref<lns::ComponentApps> SimSystem::ComponentApps() const {
    record(QStringLiteral("ComponentApps"));
    requireOpen();
    return std::make_shared<SimComponentApps>(
        m_database->documentOf(m_record),
        Shared<SharedList<ComponentAppRecord>>(m_record, &m_record->componentApps));
}

Ref<lns::NetworkServiceDevice> SimSystem::NetworkServiceDevice() const {
    record(QStringLiteral("NetworkServiceDevice"));
    return std::make_shared<SimNetworkServiceDevice>(m_database, m_record);
}

QString SimSystem::XifFolder() const {
    record(QStringLiteral("XifFolder"));
    if (!m_record->xifFolder.isEmpty())
        return m_record->xifFolder;
    return Paths::toSystem(m_database->server().lonWorksFolder + QStringLiteral("/Import"));
}

void SimSystem::setInternetPathOption(bool enabled) {
    record(QStringLiteral("setInternetPathOption ") + Journal::boolean(enabled));
    m_record->internetPathOption = enabled;
}

void SimSystem::InternetPathOperation(int argument) {
    record(QStringLiteral("InternetPathOperation %1").arg(argument));
    if (!m_record->internetPathOption)
        throw Error::lns(Code::InvalidArgument, Source,
                         QStringLiteral("The Internet path option is not set."));
}

void SimSystem::setTimingSetting(int value) {
    record(QStringLiteral("setTimingSetting %1").arg(value));
    m_record->timingSetting = value;
}

SimSystems::SimSystems(std::shared_ptr<NetworkDatabase> database)
    : SimCollection(QStringLiteral("Systems")), m_database(std::move(database)) {}

const SharedList<SystemRecord>& SimSystems::records() const {
    return m_database->records().systems;
}

Ref<System> SimSystems::wrap(const Shared<SystemRecord>& record) const {
    return std::make_shared<SimSystem>(m_database, record);
}

} // namespace lns::sim
