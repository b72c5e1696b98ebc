// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimNetwork : public Network {
public:
    explicit SimNetwork(std::shared_ptr<NetworkDatabase> database);

    QString Name() const override;
    // Reads the database file; a bad file fails with DatabaseInvalid.
    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    Ref<lns::Systems> Systems() const override;

private:
    std::shared_ptr<NetworkDatabase> m_database;
};

class SimNetworks : public SimCollection<Network, NetworkDatabase, Networks> {
public:
    SimNetworks(std::shared_ptr<SimServerState> server, SharedList<NetworkDatabase> databases);

protected:
    void beginCall(const QString& line) const override { m_server->beginCall(line); }
    const SharedList<NetworkDatabase>& records() const override { return m_databases; }
    Ref<Network> wrap(const Shared<NetworkDatabase>& record) const override;
    bool matches(const NetworkDatabase& record, const QString& name) const override;

private:
    std::shared_ptr<SimServerState> m_server;
    SharedList<NetworkDatabase> m_databases;
};

} // namespace lns::sim
