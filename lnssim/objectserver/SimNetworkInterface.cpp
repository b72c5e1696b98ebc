// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimNetworkInterface.h"

#include <QStringList>

namespace lns::sim {

SimNetworkInterface::SimNetworkInterface(std::shared_ptr<SimServerState> server, QString name)
    : m_server(std::move(server)), m_name(std::move(name)) {}

QString SimNetworkInterface::Name() const {
    m_server->beginCall(QStringLiteral("NetworkInterface.Name"));
    return m_name;
}

SimNetworkInterfaces::SimNetworkInterfaces(std::shared_ptr<SimServerState> server,
                                           const QStringList& names)
    : SimCollection(QStringLiteral("NetworkInterfaces")), m_server(std::move(server)) {
    for (const QString& name : names)
        m_records.push_back(std::make_shared<NetworkInterfaceRecord>(NetworkInterfaceRecord{name}));
}

Ref<NetworkInterface>
SimNetworkInterfaces::wrap(const Shared<NetworkInterfaceRecord>& record) const {
    return std::make_shared<SimNetworkInterface>(m_server, record->name);
}

} // namespace lns::sim
