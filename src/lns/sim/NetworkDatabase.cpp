#include "lns/sim/NetworkDatabase.h"

#include "lns/LnsCodes.h"
#include "lns/sim/AtomicFile.h"
#include "lns/sim/DatabaseCodec.h"
#include "platform/Error.h"

#include <QFile>
#include <QJsonDocument>

namespace lns::sim {

NetworkDatabase::NetworkDatabase(std::shared_ptr<SimServerState> server, QString name, QString file)
    : m_server(std::move(server)), m_name(std::move(name)), m_file(std::move(file)) {}

void NetworkDatabase::open() {
    if (m_open)
        return;
    QFile input(m_file);
    if (!input.open(QIODevice::ReadOnly))
        throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1: %2").arg(m_file, input.errorString()));
    m_records = DatabaseCodec::readNetwork(JsonNode::parseDocument(input.readAll(), m_file));
    for (const auto& system : m_records.systems)
        system->currentInterface = system->networkInterface;
    m_open = true;
}

void NetworkDatabase::close() {
    m_open = false;
    m_records = NetworkRecord();
}

NetworkRecord& NetworkDatabase::records() {
    if (!m_open)
        throw Error::lns(Code::NotOpen, QStringLiteral("LNS Object Server"),
                         QStringLiteral("The network %1 is not open.").arg(m_name));
    return m_records;
}

void NetworkDatabase::save() {
    const QJsonDocument document(DatabaseCodec::writeNetwork(records()));
    AtomicFile::write(m_file, document.toJson(QJsonDocument::Indented));
}

} // namespace lns::sim
