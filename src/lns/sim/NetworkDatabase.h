#pragma once

#include "lns/sim/DatabaseRecords.h"
#include "lns/sim/RecordStore.h"

#include <QString>
#include <memory>

namespace lns::sim {

// One network: its database file <LonWorks>/Databases/<name>/network.json,
// read when the network opens and written whole, atomically, on each change.
class NetworkDatabase : public RecordStore {
public:
    NetworkDatabase(std::shared_ptr<SimServerState> server, QString name, QString file);

    const QString& name() const { return m_name; }
    const QString& file() const { return m_file; }
    SimServerState& server() const override { return *m_server; }
    const std::shared_ptr<SimServerState>& sharedServer() const { return m_server; }

    // A file that cannot be read or used fails with DatabaseInvalid naming the
    // file and the field; the network then stays closed.
    void open();
    void close();
    bool isOpen() const { return m_open; }
    // The records of the open network; fails with NotOpen while closed.
    NetworkRecord& records();

    void save() override;

private:
    std::shared_ptr<SimServerState> m_server;
    QString m_name;
    QString m_file;
    NetworkRecord m_records;
    bool m_open = false;
};

} // namespace lns::sim
