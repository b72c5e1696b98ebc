// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/SimCollection.h"
#include "objectserver/SimServerState.h"

#include <memory>

namespace lns::sim {

struct NetworkInterfaceRecord {
    QString name;
};

class SimNetworkInterface : public NetworkInterface {
public:
    SimNetworkInterface(std::shared_ptr<SimServerState> server, QString name);
    QString Name() const override;

private:
    std::shared_ptr<SimServerState> m_server;
    QString m_name;
};

class SimNetworkInterfaces
    : public SimCollection<NetworkInterface, NetworkInterfaceRecord, NetworkInterfaces> {
public:
    SimNetworkInterfaces(std::shared_ptr<SimServerState> server, const QStringList& names);

protected:
    void beginCall(const QString& line) const override { m_server->beginCall(line); }
    const SharedList<NetworkInterfaceRecord>& records() const override { return m_records; }
    Ref<NetworkInterface> wrap(const Shared<NetworkInterfaceRecord>& record) const override;

private:
    std::shared_ptr<SimServerState> m_server;
    SharedList<NetworkInterfaceRecord> m_records;
};

} // namespace lns::sim
