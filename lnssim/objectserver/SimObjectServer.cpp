// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimObjectServer.h"

#include "objectserver/SimComponentApps.h"
#include "objectserver/SimNetwork.h"
#include "objectserver/SimNetworkInterface.h"

#include <QDir>
#include <QFileInfo>

namespace lns::sim {

namespace {

const QString Source = QStringLiteral("LNS Object Server");

int positiveFromEnvironment(const char* name) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}

// A number of transactions a second, 0 for a channel without limit;
// anything else leaves each network its own channel.
std::optional<double> capacityFromEnvironment() {
    bool ok = false;
    const double value = qEnvironmentVariable("LNS_SIM_CHANNEL_CAPACITY").toDouble(&ok);
    return ok && value >= 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

SimObjectServer::SimObjectServer(const QString& lonWorksFolder)
    : m_state(std::make_shared<SimServerState>()) {
    m_state->lonWorksFolder = lonWorksFolder;
    m_state->latencyMs = positiveFromEnvironment("LNS_SIM_LATENCY_MS");
    m_state->channelCapacity = capacityFromEnvironment();
    m_state->killAtCall = positiveFromEnvironment("LNS_SIM_KILL_AT_CALL");
    m_config = std::make_shared<ServerConfig>(m_state);
}

void SimObjectServer::record(const QString& call) const {
    m_state->beginCall(QStringLiteral("ObjectServer.") + call);
}

void SimObjectServer::requireOpen() const {
    if (!m_open)
        throw Error::lns(Code::NotOpen, Source, QStringLiteral("The Object Server is not open."));
}

QString SimObjectServer::databasesFolder() const {
    return m_state->lonWorksFolder + QStringLiteral("/Databases");
}

void SimObjectServer::Open() {
    record(QStringLiteral("Open"));
    if (!m_unavailableReason.isEmpty())
        throw Error::lns(Code::DatabaseInvalid, Source, m_unavailableReason);
    if (m_state->lonWorksFolder.isEmpty() || !QFileInfo(m_state->lonWorksFolder).isDir())
        throw Error::lns(Code::DatabaseInvalid, Source,
                         QStringLiteral("The LonWorks folder \"%1\" does not exist; lay it out "
                                        "with \"lns-host setup\".")
                             .arg(m_state->lonWorksFolder));
    m_config->remoteNetworkInterfaces(); // a bad settings file is refused here
    m_open = true;
}

void SimObjectServer::Close() {
    record(QStringLiteral("Close"));
    for (auto& [name, database] : m_databases)
        database->close();
    m_open = false;
}

bool SimObjectServer::IsOpen() const {
    record(QStringLiteral("IsOpen"));
    return m_open;
}

bool SimObjectServer::Remote() const {
    record(QStringLiteral("Remote"));
    return m_remote;
}

void SimObjectServer::setRemote(bool remote) {
    record(QStringLiteral("setRemote ") + Journal::boolean(remote));
    m_remote = remote;
}

void SimObjectServer::setAutoOpen(bool autoOpen) {
    record(QStringLiteral("setAutoOpen ") + Journal::boolean(autoOpen));
    m_autoOpen = autoOpen;
}

qint32 SimObjectServer::Flags() const {
    record(QStringLiteral("Flags"));
    return m_flags;
}

void SimObjectServer::setFlags(qint32 flags) {
    record(QStringLiteral("setFlags %1").arg(flags));
    m_flags = flags;
}

Ref<lns::NetworkInterfaces> SimObjectServer::RemoteNetworkInterfaces() const {
    record(QStringLiteral("RemoteNetworkInterfaces"));
    return std::make_shared<SimNetworkInterfaces>(m_state, m_config->remoteNetworkInterfaces());
}

Ref<lns::NetworkInterface> SimObjectServer::ActiveRemoteNetworkInterface() const {
    record(QStringLiteral("ActiveRemoteNetworkInterface"));
    if (m_activeRemoteInterface.isEmpty())
        return nullptr;
    return std::make_shared<SimNetworkInterface>(m_state, m_activeRemoteInterface);
}

void SimObjectServer::setActiveRemoteNetworkInterface(
    const Ref<NetworkInterface>& networkInterface) {
    const QString name = networkInterface ? networkInterface->Name() : QString();
    record(QStringLiteral("setActiveRemoteNetworkInterface ") +
           (networkInterface ? Journal::quoted(name) : QStringLiteral("Nothing")));
    if (!name.isEmpty() && !m_config->remoteNetworkInterfaces().contains(name))
        throw Error::lns(
            Code::NotFound, Source,
            QStringLiteral("There is no remote network interface %1.").arg(Journal::quoted(name)));
    m_activeRemoteInterface = name;
}

SharedList<NetworkDatabase> SimObjectServer::databases() const {
    const QDir folder(databasesFolder());
    SharedList<NetworkDatabase> result;
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!NetworkDatabase::existsIn(folder.filePath(name)))
            continue;
        auto& database = m_databases[name];
        if (!database)
            database = std::make_shared<NetworkDatabase>(m_state, name, folder.filePath(name));
        result.push_back(database);
    }
    return result;
}

Ref<lns::Networks> SimObjectServer::Networks() const {
    record(QStringLiteral("Networks"));
    requireOpen();
    return std::make_shared<SimNetworks>(m_state, databases());
}

Ref<lns::ComponentApps> SimObjectServer::ComponentApps() const {
    record(QStringLiteral("ComponentApps"));
    requireOpen();
    return std::make_shared<SimComponentApps>(
        m_config,
        std::shared_ptr<SharedList<ComponentAppRecord>>(m_config, &m_config->componentApps()));
}

void SimObjectServer::setEventListener(ObjectServerEvents* listener) {
    record(QStringLiteral("setEventListener"));
    m_listener = listener;
}

void SimObjectServer::raiseRepaint() {
    if (m_listener)
        m_listener->onRepaint();
}

void SimObjectServer::raiseMonitorValue(int monitorPoint, const QString& value) {
    if (m_listener)
        m_listener->onMonitorValue(monitorPoint, value);
}

void SimObjectServer::raiseMonitorError(int tag) {
    if (m_listener)
        m_listener->onMonitorError(tag);
}

} // namespace lns::sim
