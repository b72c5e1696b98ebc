// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimNetwork.h"

#include "objectserver/SimSystem.h"

namespace lns::sim {

SimNetwork::SimNetwork(std::shared_ptr<NetworkDatabase> database)
    : m_database(std::move(database)) {}

QString SimNetwork::Name() const {
    m_database->beginCall(QStringLiteral("Network.Name"));
    return m_database->name();
}

void SimNetwork::Open() {
    m_database->beginCall(QStringLiteral("Network.Open ") + Journal::quoted(m_database->name()));
    m_database->open();
}

void SimNetwork::Close() {
    m_database->beginCall(QStringLiteral("Network.Close ") + Journal::quoted(m_database->name()));
    m_database->close();
}

bool SimNetwork::IsOpen() const {
    m_database->beginCall(QStringLiteral("Network.IsOpen"));
    return m_database->isOpen();
}

Ref<lns::Systems> SimNetwork::Systems() const {
    m_database->beginCall(QStringLiteral("Network.Systems"));
    m_database->records(); // fails while the network is closed
    return std::make_shared<SimSystems>(m_database);
}

SimNetworks::SimNetworks(std::shared_ptr<SimServerState> server,
                         SharedList<NetworkDatabase> databases)
    : SimCollection(QStringLiteral("Networks")), m_server(std::move(server)),
      m_databases(std::move(databases)) {}

Ref<Network> SimNetworks::wrap(const Shared<NetworkDatabase>& record) const {
    return std::make_shared<SimNetwork>(record);
}

bool SimNetworks::matches(const NetworkDatabase& record, const QString& name) const {
    return record.name() == name;
}

} // namespace lns::sim
