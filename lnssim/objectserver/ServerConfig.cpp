// SPDX-License-Identifier: Apache-2.0
#include "objectserver/ServerConfig.h"

#include "lns/LnsCodes.h"
#include "objectserver/DatabaseCodec.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace lns::sim {

ServerConfig::ServerConfig(std::shared_ptr<SimServerState> server) : m_server(std::move(server)) {}

QString ServerConfig::file() const {
    return m_server->lonWorksFolder + QStringLiteral("/ObjectServer.json");
}

void ServerConfig::load() {
    if (m_loaded)
        return;
    QFile input(file());
    if (input.exists()) {
        if (!input.open(QIODevice::ReadOnly))
            throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                             QStringLiteral("%1: %2").arg(file(), input.errorString()));
        const JsonNode root = JsonNode::parseDocument(input.readAll(), file());
        QStringList names;
        for (const JsonNode& name : root.field("remoteNetworkInterfaces").elements())
            names.append(name.toString());
        m_componentApps = DatabaseCodec::readComponentApps(root.field("componentApps"));
        m_remoteNetworkInterfaces = names;
    }
    m_loaded = true;
}

const QStringList& ServerConfig::remoteNetworkInterfaces() {
    load();
    return m_remoteNetworkInterfaces;
}

SharedList<ComponentAppRecord>& ServerConfig::componentApps() {
    load();
    return m_componentApps;
}

void ServerConfig::commit(const std::function<void()>& change, const std::function<void()>& undo) {
    change();
    try {
        save();
    } catch (...) {
        undo();
        throw;
    }
}

void ServerConfig::save() {
    load();
    const QJsonObject root{
        {"remoteNetworkInterfaces", QJsonArray::fromStringList(m_remoteNetworkInterfaces)},
        {"componentApps", DatabaseCodec::writeComponentApps(m_componentApps)}};
    AtomicFile::write(file(), QJsonDocument(root).toJson(QJsonDocument::Indented));
}

} // namespace lns::sim
