// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/FileLock.h"
#include "objectserver/JsonNode.h"
#include "objectserver/RowMap.h"
#include "objectserver/SharedDeviceHeads.h"
#include "objectserver/SimChannel.h"
#include "objectserver/SimServerState.h"
#include "objectserver/SqliteConnection.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace lns::sim {

class NetworkDocument;

// One network, shared by every process that opens it: the SQLite database
// <folder>/network.sqlite3, one row per system, subsystem, device template and
// device, each holding the record as JSON in the layout of network.json:
//   records(id, kind, parent, revision, document)
// The first open loads <folder>/network.json, the network's description as a
// person writes it, when the database does not exist yet. Each process keeps
// the records in memory, a device's interface only from when it is first
// asked for, so that the many openings of one large network that a run with
// many devices in flight makes each hold only the devices they work on.
// Every call first reloads the rows that other processes changed since (the
// log index's header in shared memory, then PRAGMA data_version, tell
// whether any did; the table changes(stamp, row), filled by triggers, tells
// which), and every change is one transaction that reloads, changes and
// writes its row or the part of the row that changed.
class NetworkDatabase : public std::enable_shared_from_this<NetworkDatabase> {
public:
    NetworkDatabase(std::shared_ptr<SimServerState> server, QString name, QString folder);
    ~NetworkDatabase();

    // Whether the folder holds a network (its description or its database).
    static bool existsIn(const QString& folder);

    const QString& name() const { return m_name; }
    QString file() const;
    QString descriptionFile() const;
    SimServerState& server() const { return *m_server; }
    const std::shared_ptr<SimServerState>& sharedServer() const { return m_server; }

    // A file that cannot be read or used fails with DatabaseInvalid naming the
    // file (and the field of a description); the network then stays closed
    // and the file as it was. While open, the LonWorks folder is in use
    // (FileLock.h); an open waits while setup replaces the folder.
    void open();
    // Saves what was added but never changed before letting go of the file.
    void close();
    bool isOpen() const { return m_connection != nullptr; }
    // The records of the open network; fails with NotOpen while closed.
    NetworkRecord& records();

    // The open network as a person reads it, in the layout of network.json.
    QByteArray toJson();

    // Journals a call, saves what this process holds (holdUntilNextCall) and
    // brings the open network up to what other processes saved.
    void beginCall(const QString& line);

    // A new item that gathers its fields in this process and is saved whole
    // with the next call: `take` marks it saved, `save` writes it, `drop`
    // removes it when that fails.
    struct HeldItem {
        std::function<void()> take;
        std::function<void()> save;
        std::function<void()> drop;
    };
    void holdUntilNextCall(HeldItem item) { m_held.push_back(std::move(item)); }

    // Waits for a slot on the network's channel and the transaction's time.
    void carryTransaction();
    // Transactions a second (0: no limit): the server's setting where it has
    // one, else the channel of the network's first system.
    double channelCapacity() const;

    // A device's interface, read from its row the first time it is asked for.
    const Shared<InterfaceRecord>& interfaceOf(AppDeviceRecord& device);
    // The record of a device that this opening hands to a caller, who may
    // change it: its own copy in place of a shared head.
    Shared<AppDeviceRecord> ownDevice(const Shared<AppDeviceRecord>& device);

    // The stores of the rows that objects change.
    std::shared_ptr<NetworkDocument> documentOf(const Shared<SystemRecord>& system);
    std::shared_ptr<NetworkDocument> documentOf(const Shared<SystemRecord>& system,
                                                const Shared<DeviceTemplateRecord>& deviceTemplate);
    std::shared_ptr<NetworkDocument> documentOf(const Shared<AppDeviceRecord>& device);

    // A new template stays with this process until its first change (its
    // import), which saves it whole, so no process ever sees it half made.
    void addTemplate(SystemRecord& system, const Shared<DeviceTemplateRecord>& deviceTemplate);
    void removeTemplate(SystemRecord& system, const Shared<DeviceTemplateRecord>& deviceTemplate);

    // One transaction: brings the records up to date, applies `change`, runs
    // `save` to write the rows, commits. On failure `undo` runs, the next
    // call reloads every row, and the caller gets the failure. A file that
    // another program removed or replaced since the open fails with
    // DatabaseInvalid before anything is written: the write would be lost.
    void transact(const std::function<void()>& change, const std::function<void()>& save,
                  const std::function<void()>& undo);

private:
    struct Row {
        qint64 id;
        QByteArray kind;
        qint64 parent;
        qint64 revision;
    };

    void openFile();
    void refresh();
    void load(const NetworkRecord& network);
    void addChangeLog();
    qint64 lastStamp();
    bool changeLogCovers(qint64 stamp);
    // Each returns whether systems, subsystems, templates or devices came,
    // went or moved, so that the tree must be built again.
    bool syncAllRows();
    bool syncChangedRows();
    bool syncRow(const Row& row);
    bool syncDevice(const Row& row);
    Shared<AppDeviceRecord> readHead(const Row& row);
    std::optional<Row> rowOf(qint64 id);
    // The record of the row's document as `select` reads it, with the row's
    // id, parent and revision.
    template <class Read>
    auto readRecord(const char* select, const Row& row, Read read)
        -> decltype(read(std::declval<const JsonNode&>()));
    void replaceDevice(const Shared<AppDeviceRecord>& old, const Shared<AppDeviceRecord>& now);
    // `select` reads the row's document, given its id.
    template <class Record, class Read, class Merge>
    bool syncRow(RowMap<Record>& cache, const Row& row, const char* select,
                 Read read, Merge merge);
    void readInterface(AppDeviceRecord& device);
    bool forgetRow(qint64 id);
    void rebuildTree();
    void saveRow(RowRecord& row, const char* kind, qint64 parent, const QJsonObject& document);
    // Writes only `part` of the row, or the whole row (`saveWhole`) when the
    // record was never saved or does not hold the part.
    template <class Record>
    void saveRowPart(Record& record, const char* kind, const RecordPart& part,
                     const std::function<void()>& saveWhole);
    void updated(RowRecord& row, const char* kind);
    // One transaction for every held item; on failure they are dropped.
    void saveHeld();
    // Saves the templates and component applications never changed.
    void savePending();
    // Whether any row holds what was never saved; with `save`, writes it.
    bool visitPending(bool save);
    void requireOpen() const;
    void requireSameFile() const;

    std::shared_ptr<SimServerState> m_server;
    QString m_name;
    QString m_folder;
    std::optional<FileLock> m_folderInUse;
    std::unique_ptr<SqliteConnection> m_connection;
    std::optional<std::pair<quint64, quint64>> m_fileIdentity; // device and inode at the open
    std::shared_ptr<SharedDeviceHeads> m_deviceHeads;
    std::unique_ptr<SimChannel> m_channel; // made with the first transaction
    qint64 m_dataVersion = -1;
    std::optional<SqliteConnection::CommitMark> m_commitMark; // when m_dataVersion was read
    bool m_reloadAll = true;
    bool m_hasChangeLog = false;
    qint64 m_lastStamp = 0; // of the last change seen in the change log
    std::vector<HeldItem> m_held;
    RowMap<SystemRecord> m_systems;
    RowMap<SubsystemRecord> m_subsystems;
    RowMap<DeviceTemplateRecord> m_templates;
    RowMap<AppDeviceRecord> m_devices;
    NetworkRecord m_records;
};

} // namespace lns::sim
