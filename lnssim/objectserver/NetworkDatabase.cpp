// SPDX-License-Identifier: Apache-2.0
#include "objectserver/NetworkDatabase.h"

#include "lns/LnsCodes.h"
#include "objectserver/ChannelMedia.h"
#include "objectserver/DatabaseCodec.h"
#include "objectserver/NetworkDocument.h"
#include "objectserver/RecordMerge.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <sys/stat.h>

namespace lns::sim {

namespace {

const QString Source = QStringLiteral("LNS Object Server");
const QString ReadFailure = QStringLiteral("%1");
const QString SaveFailure = QStringLiteral("Cannot save %1");
constexpr qint64 SchemaVersion = 1;
const char* const WholeRow = "SELECT document FROM records WHERE id = ?";
const char* const HeadOfRow =
    "SELECT json_remove(document, '$.interface') FROM records WHERE id = ?";

// `parent`: the system of a subsystem or template, the subsystem of a device.
// `revision` rises with every change of the row.
const char* const Schema = R"(
CREATE TABLE records (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    kind TEXT NOT NULL CHECK (kind IN ('system', 'subsystem', 'template', 'device')),
    parent INTEGER NOT NULL,
    revision INTEGER NOT NULL,
    document TEXT NOT NULL);
PRAGMA user_version = 1;
)";

// Every insert, update and delete of a record, by whichever program, leaves
// the row's id here, so that a process reloads only the rows changed since
// the last change it saw. The newest 10,000 entries are kept; a process
// further behind compares every row.
const char* const ChangeLog = R"(
CREATE TABLE IF NOT EXISTS changes (stamp INTEGER PRIMARY KEY, row INTEGER NOT NULL);
CREATE TRIGGER IF NOT EXISTS record_inserted AFTER INSERT ON records BEGIN
    INSERT INTO changes (row) VALUES (new.id);
    DELETE FROM changes WHERE stamp <= (SELECT max(stamp) FROM changes) - 10000;
END;
CREATE TRIGGER IF NOT EXISTS record_updated AFTER UPDATE ON records BEGIN
    INSERT INTO changes (row) VALUES (new.id);
    DELETE FROM changes WHERE stamp <= (SELECT max(stamp) FROM changes) - 10000;
END;
CREATE TRIGGER IF NOT EXISTS record_deleted AFTER DELETE ON records BEGIN
    INSERT INTO changes (row) VALUES (old.id);
    DELETE FROM changes WHERE stamp <= (SELECT max(stamp) FROM changes) - 10000;
END;
)";

NetworkRecord readDescription(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        throw Error::lns(Code::DatabaseInvalid, Source,
                         QStringLiteral("%1: %2").arg(file, input.errorString()));
    return DatabaseCodec::readNetwork(JsonNode::parseDocument(input.readAll(), file));
}

qint64 userVersion(SqliteConnection& connection) {
    SqliteConnection::Statement version = connection.statement("PRAGMA user_version", ReadFailure);
    version.step();
    return version.number(0);
}

// Whether any application is not saved yet; with `take`, they now count as saved.
bool hasPendingApps(SharedList<ComponentAppRecord>& apps, bool take) {
    bool found = false;
    for (const auto& app : apps) {
        found = found || app->pending;
        if (take)
            app->pending = false;
    }
    return found;
}

// The lists of component applications kept in the row of a template or device.
std::vector<SharedList<ComponentAppRecord>*> appListsOf(DeviceTemplateRecord& deviceTemplate) {
    std::vector<SharedList<ComponentAppRecord>*> lists{&deviceTemplate.componentApps};
    for (const auto& object : deviceTemplate.interface->lonMarkObjects)
        lists.push_back(&object->componentApps);
    return lists;
}

// A device whose interface was never read holds nothing new.
std::vector<SharedList<ComponentAppRecord>*> appListsOf(AppDeviceRecord& device) {
    std::vector<SharedList<ComponentAppRecord>*> lists;
    if (!device.interface)
        return lists;
    for (const auto& object : device.interface->lonMarkObjects)
        lists.push_back(&object->componentApps);
    return lists;
}

// Takes the records of `lists` whose parent row is `parent`; they stay as
// long as the network is open, so they keep no spare room.
template <class Record>
SharedList<Record> childrenOf(std::map<qint64, SharedList<Record>>& lists, qint64 parent) {
    const auto found = lists.find(parent);
    if (found == lists.end())
        return {};
    found->second.shrink_to_fit();
    return std::move(found->second);
}

template <class Record> void eraseRecord(SharedList<Record>& list, const Shared<Record>& record) {
    list.erase(std::remove(list.begin(), list.end(), record), list.end());
}

// The device and inode of the file, which its replacement does not share.
std::optional<std::pair<quint64, quint64>> identityOf(const QString& file) {
    struct stat status {};
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return std::nullopt;
    return std::pair<quint64, quint64>(status.st_dev, status.st_ino);
}

} // namespace

NetworkDatabase::NetworkDatabase(std::shared_ptr<SimServerState> server, QString name,
                                 QString folder)
    : m_server(std::move(server)), m_name(std::move(name)), m_folder(std::move(folder)) {}

NetworkDatabase::~NetworkDatabase() {
    try {
        close();
    } catch (const Error&) {
        // Nobody is left to tell; a template never changed is all that is lost.
    }
}

bool NetworkDatabase::existsIn(const QString& folder) {
    return QFileInfo::exists(folder + QStringLiteral("/network.sqlite3")) ||
           QFileInfo::exists(folder + QStringLiteral("/network.json"));
}

QString NetworkDatabase::file() const {
    return m_folder + QStringLiteral("/network.sqlite3");
}

QString NetworkDatabase::descriptionFile() const {
    return m_folder + QStringLiteral("/network.json");
}

void NetworkDatabase::open() {
    if (m_connection)
        return;
    // Setup's own databases are built aside, in a folder nobody uses yet.
    if (!m_server->lonWorksFolder.isEmpty())
        m_folderInUse.emplace(inUseFileOf(m_server->lonWorksFolder), FileLock::Kind::Shared,
                              FileLock::Wait::Yes);
    try {
        openFile();
    } catch (...) {
        m_folderInUse.reset();
        throw;
    }
}

void NetworkDatabase::openFile() {
    std::optional<NetworkRecord> description;
    const bool exists = QFileInfo::exists(file());
    if (!exists)
        description = readDescription(descriptionFile()); // a refused file creates nothing
    m_connection = std::make_unique<SqliteConnection>(file(), !exists);
    m_fileIdentity = identityOf(file());
    if (m_fileIdentity)
        m_deviceHeads = SharedDeviceHeads::of(*m_fileIdentity);
    else
        m_deviceHeads = std::make_shared<SharedDeviceHeads>();
    try {
        const qint64 version = userVersion(*m_connection);
        if (version == 0)
            load(description ? *description : readDescription(descriptionFile()));
        else if (version != SchemaVersion)
            throw Error::lns(Code::DatabaseInvalid, Source,
                             QStringLiteral("%1: a network database of another version (%2)")
                                 .arg(file())
                                 .arg(version));
        addChangeLog();
        m_reloadAll = true;
        refresh();
    } catch (...) {
        m_connection.reset();
        m_deviceHeads.reset();
        throw;
    }
}

// Another process may load the same description at the same time; the first
// transaction wins and the other finds the rows there.
void NetworkDatabase::load(const NetworkRecord& network) {
    m_connection->beginWrite(SaveFailure);
    try {
        if (userVersion(*m_connection) == 0) {
            m_connection->exec(Schema, SaveFailure);
            m_connection->exec(ChangeLog, SaveFailure);
            for (const auto& system : network.systems) {
                saveRow(*system, "system", 0, DatabaseCodec::writeSystemSettings(*system));
                for (const auto& deviceTemplate : system->templates)
                    saveRow(*deviceTemplate, "template", system->rowId,
                            DatabaseCodec::writeTemplate(*deviceTemplate));
                for (const auto& subsystem : system->subsystems) {
                    saveRow(*subsystem, "subsystem", system->rowId,
                            DatabaseCodec::writeSubsystemSettings(*subsystem));
                    for (const auto& device : subsystem->devices)
                        saveRow(*device, "device", subsystem->rowId,
                                DatabaseCodec::writeDevice(*device));
                }
            }
        }
        m_connection->commit(SaveFailure);
    } catch (...) {
        m_connection->rollback();
        throw;
    }
}

void NetworkDatabase::close() {
    if (!m_connection)
        return;
    std::exception_ptr failure;
    try {
        saveHeld();
        savePending();
    } catch (...) {
        failure = std::current_exception();
    }
    m_connection.reset();
    m_folderInUse.reset();
    m_fileIdentity.reset();
    m_deviceHeads.reset();
    m_systems.clear();
    m_subsystems.clear();
    m_templates.clear();
    m_devices.clear();
    m_records = NetworkRecord();
    m_dataVersion = -1;
    m_commitMark.reset();
    m_reloadAll = true;
    m_hasChangeLog = false;
    m_lastStamp = 0;
    m_held.clear();
    if (failure)
        std::rethrow_exception(failure);
}

void NetworkDatabase::requireOpen() const {
    if (!m_connection)
        throw Error::lns(Code::NotOpen, Source,
                         QStringLiteral("The network %1 is not open.").arg(m_name));
}

void NetworkDatabase::requireSameFile() const {
    if (identityOf(file()) != m_fileIdentity)
        throw Error::lns(Code::DatabaseInvalid, Source,
                         QStringLiteral("%1: the network %2 was removed or replaced by another "
                                        "program since it was opened; nothing was written. "
                                        "Close the network and open it again.")
                             .arg(file(), m_name));
}

NetworkRecord& NetworkDatabase::records() {
    requireOpen();
    return m_records;
}

QByteArray NetworkDatabase::toJson() {
    for (auto& [id, device] : m_devices)
        interfaceOf(*ownDevice(Shared<AppDeviceRecord>(device)));
    return QJsonDocument(DatabaseCodec::writeNetwork(records())).toJson(QJsonDocument::Indented);
}

const Shared<InterfaceRecord>& NetworkDatabase::interfaceOf(AppDeviceRecord& device) {
    if (!device.interface)
        readInterface(device);
    return device.interface;
}

// The whole row as it is now, merged like any row read again: the next
// refresh finds its revision seen.
void NetworkDatabase::readInterface(AppDeviceRecord& device) {
    requireOpen();
    const std::optional<Row> row = rowOf(device.rowId);
    const Shared<AppDeviceRecord> fresh =
        row ? readRecord(WholeRow, *row, DatabaseCodec::readDevice) : nullptr;
    if (!fresh)
        throw Error::lns(Code::NotFound, Source,
                         QStringLiteral("Another process has removed the device %1 meanwhile.")
                             .arg(device.name));
    RecordMerge::device(device, *fresh);
}

void NetworkDatabase::beginCall(const QString& line) {
    m_server->beginCall(line);
    saveHeld();
    refresh();
}

void NetworkDatabase::saveHeld() {
    if (m_held.empty() || !m_connection)
        return;
    const std::vector<HeldItem> held = std::move(m_held);
    m_held.clear();
    const auto each = [&](std::function<void()> HeldItem::*step) {
        for (const HeldItem& item : held)
            (item.*step)();
    };
    transact([&] { each(&HeldItem::take); }, [&] { each(&HeldItem::save); },
             [&] { each(&HeldItem::drop); });
}

// Files written before the change log get it on their first open; the
// records stay as they were, so earlier programs read and write the file as
// before (and their changes are logged too).
void NetworkDatabase::addChangeLog() {
    SqliteConnection::Statement table = m_connection->statement(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'changes'",
        ReadFailure);
    table.step();
    m_hasChangeLog = table.number(0) == 1;
    if (m_hasChangeLog)
        return;
    try {
        m_connection->beginWrite(SaveFailure);
        m_connection->exec(ChangeLog, SaveFailure);
        m_connection->commit(SaveFailure);
        m_hasChangeLog = true;
    } catch (const Error&) {
        // A file this process may not write: every call compares every row.
        m_connection->rollback();
    }
}

qint64 NetworkDatabase::lastStamp() {
    SqliteConnection::Statement last =
        m_connection->statement("SELECT coalesce(max(stamp), 0) FROM changes", ReadFailure);
    last.step();
    return last.number(0);
}

// Whether the log still holds every change after `stamp`.
bool NetworkDatabase::changeLogCovers(qint64 stamp) {
    SqliteConnection::Statement first =
        m_connection->statement("SELECT coalesce(min(stamp), 0) FROM changes", ReadFailure);
    first.step();
    return first.number(0) <= stamp + 1;
}

void NetworkDatabase::refresh() {
    if (!m_connection)
        return;
    // Taken before the read: a commit in between changes the header again,
    // so it is read with the next call rather than missed.
    const std::optional<SqliteConnection::CommitMark> mark = m_connection->commitMark();
    if (mark && mark == m_commitMark && !m_reloadAll)
        return;
    const qint64 version = m_connection->dataVersion();
    if (version == m_dataVersion && !m_reloadAll) {
        m_commitMark = mark; // only this process committed since
        return;
    }
    const bool ownTransaction = !m_connection->inTransaction();
    if (ownTransaction)
        m_connection->exec("BEGIN", ReadFailure); // one snapshot for every row read
    try {
        const qint64 stamp = m_hasChangeLog ? lastStamp() : 0;
        const bool whole = m_reloadAll || !m_hasChangeLog || !changeLogCovers(m_lastStamp);
        if (whole ? syncAllRows() : syncChangedRows())
            rebuildTree();
        m_lastStamp = stamp;
        m_dataVersion = version;
        m_commitMark = mark;
        m_reloadAll = false;
        if (ownTransaction)
            m_connection->exec("COMMIT", ReadFailure);
    } catch (...) {
        if (ownTransaction)
            m_connection->rollback();
        throw;
    }
}

bool NetworkDatabase::syncAllRows() {
    // Row by row, so that many openings of a large network at once do not
    // each hold a list of its rows.
    std::vector<qint64> ids; // in order
    bool moved = false;
    SqliteConnection::Statement select = m_connection->statement(
        "SELECT id, kind, parent, revision FROM records ORDER BY id", ReadFailure);
    while (select.step()) {
        ids.push_back(select.number(0));
        moved = syncRow({ids.back(), select.text(1), select.number(2), select.number(3)}) || moved;
    }
    const auto present = [&](qint64 id) { return std::binary_search(ids.begin(), ids.end(), id); };
    const auto dropGone = [&](auto& cache) {
        moved = cache.eraseIf([&](qint64 id) { return !present(id); }) || moved;
    };
    dropGone(m_systems);
    dropGone(m_subsystems);
    dropGone(m_templates);
    dropGone(m_devices);
    return moved;
}

bool NetworkDatabase::syncChangedRows() {
    std::vector<qint64> ids;
    {
        SqliteConnection::Statement changed = m_connection->statement(
            "SELECT DISTINCT row FROM changes WHERE stamp > ?", ReadFailure);
        changed.bind(1, m_lastStamp);
        while (changed.step())
            ids.push_back(changed.number(0));
    }
    bool moved = false;
    for (const qint64 id : ids) {
        if (const std::optional<Row> row = rowOf(id))
            moved = syncRow(*row) || moved;
        else
            moved = forgetRow(id) || moved;
    }
    return moved;
}

std::optional<NetworkDatabase::Row> NetworkDatabase::rowOf(qint64 id) {
    SqliteConnection::Statement select = m_connection->statement(
        "SELECT kind, parent, revision FROM records WHERE id = ?", ReadFailure);
    select.bind(1, id);
    if (!select.step())
        return std::nullopt;
    return Row{id, select.text(0), select.number(1), select.number(2)};
}

// Nothing when the row is gone.
template <class Read>
auto NetworkDatabase::readRecord(const char* select, const Row& row, Read read)
    -> decltype(read(std::declval<const JsonNode&>())) {
    SqliteConnection::Statement document = m_connection->statement(select, ReadFailure);
    document.bind(1, row.id);
    if (!document.step())
        return nullptr;
    const QString label = QStringLiteral("%1 (row %2)").arg(file()).arg(row.id);
    auto fresh = read(JsonNode::parseDocument(document.text(0), label));
    fresh->rowId = row.id;
    fresh->parentRow = row.parent;
    fresh->revision = row.revision;
    return fresh;
}

bool NetworkDatabase::syncRow(const Row& row) {
    if (row.kind == "system")
        return syncRow(
            m_systems, row, WholeRow,
            [](const JsonNode& node) {
                auto system = DatabaseCodec::readSystemSettings(node);
                system->currentInterface = system->networkInterface;
                return system;
            },
            RecordMerge::system);
    if (row.kind == "subsystem")
        return syncRow(m_subsystems, row, WholeRow, DatabaseCodec::readSubsystemSettings,
                       RecordMerge::subsystem);
    if (row.kind == "template")
        return syncRow(m_templates, row, WholeRow, DatabaseCodec::readTemplate,
                       RecordMerge::deviceTemplate);
    if (row.kind == "device")
        return syncDevice(row);
    return false;
}

// A device handed to a caller is this opening's own and is merged in place,
// with its interface when it was read; the others are shared heads, which
// are swapped for the head at the row's revision.
bool NetworkDatabase::syncDevice(const Row& row) {
    const auto found = m_devices.find(row.id);
    const Shared<AppDeviceRecord> cached = found == m_devices.end() ? nullptr : found->second;
    if (cached && !cached->shared)
        return cached->interface ? syncRow(m_devices, row, WholeRow, DatabaseCodec::readDevice,
                                           RecordMerge::device)
                                 : syncRow(m_devices, row, HeadOfRow,
                                           DatabaseCodec::readDeviceHead, RecordMerge::device);
    const Shared<AppDeviceRecord> head =
        m_deviceHeads->head(row.id, row.revision, row.parent, [&] { return readHead(row); });
    if (head == cached)
        return false;
    const bool moved = !cached || cached->parentRow != head->parentRow;
    replaceDevice(cached, head);
    return moved;
}

Shared<AppDeviceRecord> NetworkDatabase::readHead(const Row& row) {
    Shared<AppDeviceRecord> head = readRecord(HeadOfRow, row, DatabaseCodec::readDeviceHead);
    if (!head)
        throw Error::lns(Code::NotFound, Source,
                         QStringLiteral("Another process has removed the device meanwhile."));
    return head;
}

// In the tree as well, unless the tree is built again anyway.
void NetworkDatabase::replaceDevice(const Shared<AppDeviceRecord>& old,
                                    const Shared<AppDeviceRecord>& now) {
    m_devices[now->rowId] = now;
    if (!old)
        return;
    const auto subsystem = m_subsystems.find(old->parentRow);
    if (subsystem != m_subsystems.end())
        std::replace(subsystem->second->devices.begin(), subsystem->second->devices.end(), old,
                     now);
}

Shared<AppDeviceRecord> NetworkDatabase::ownDevice(const Shared<AppDeviceRecord>& device) {
    if (!device->shared)
        return device;
    const Shared<AppDeviceRecord> head = device; // `device` may be the tree's own entry
    auto own = std::make_shared<AppDeviceRecord>(*head);
    own->shared = false;
    replaceDevice(head, own);
    return own;
}

template <class Record, class Read, class Merge>
bool NetworkDatabase::syncRow(RowMap<Record>& cache, const Row& row,
                              const char* select, Read read, Merge merge) {
    const auto found = cache.find(row.id);
    const Shared<Record> record = found == cache.end() ? nullptr : found->second;
    if (record && record->revision == row.revision && !m_reloadAll)
        return false;
    const Shared<Record> fresh = readRecord(select, row, read);
    if (!fresh)
        return false;
    if (!record) {
        cache[row.id] = fresh;
        return true;
    }
    const bool moved = record->parentRow != row.parent;
    merge(*record, *fresh);
    return moved;
}

bool NetworkDatabase::forgetRow(qint64 id) {
    return (m_systems.erase(id) + m_subsystems.erase(id) + m_templates.erase(id) +
            m_devices.erase(id)) > 0;
}

// Through an index of each row's children, so that the cost grows with the
// number of rows alone.
void NetworkDatabase::rebuildTree() {
    std::map<qint64, SharedList<DeviceTemplateRecord>> templates;
    for (const auto& [id, deviceTemplate] : m_templates)
        templates[deviceTemplate->parentRow].push_back(deviceTemplate);
    std::map<qint64, SharedList<SubsystemRecord>> subsystems;
    for (const auto& [id, subsystem] : m_subsystems)
        subsystems[subsystem->parentRow].push_back(subsystem);
    std::map<qint64, SharedList<AppDeviceRecord>> devices;
    for (const auto& [id, device] : m_devices)
        devices[device->parentRow].push_back(device);

    NetworkRecord records;
    for (const auto& [systemId, system] : m_systems) {
        SharedList<DeviceTemplateRecord> own = childrenOf(templates, systemId);
        for (const auto& pending : system->templates) {
            if (pending->rowId == 0)
                own.push_back(pending);
        }
        system->templates = std::move(own);
        system->subsystems = childrenOf(subsystems, systemId);
        for (const auto& subsystem : system->subsystems)
            subsystem->devices = childrenOf(devices, subsystem->rowId);
        records.systems.push_back(system);
    }
    m_records = std::move(records);
}

void NetworkDatabase::saveRow(RowRecord& row, const char* kind, qint64 parent,
                              const QJsonObject& document) {
    const QByteArray text = QJsonDocument(document).toJson(QJsonDocument::Compact);
    if (row.rowId == 0) {
        SqliteConnection::Statement insert = m_connection->statement(
            "INSERT INTO records (kind, parent, revision, document) VALUES (?, ?, 1, ?)",
            SaveFailure);
        insert.bind(1, QByteArray(kind)).bind(2, parent).bind(3, text);
        insert.step();
        row.rowId = m_connection->lastInsertId();
        row.parentRow = parent;
        row.revision = 1;
        return;
    }
    SqliteConnection::Statement update = m_connection->statement(
        "UPDATE records SET revision = revision + 1, document = ? WHERE id = ?", SaveFailure);
    update.bind(1, text).bind(2, row.rowId);
    update.step();
    updated(row, kind);
}

template <class Record>
void NetworkDatabase::saveRowPart(Record& record, const char* kind, const RecordPart& part,
                                  const std::function<void()>& saveWhole) {
    const std::optional<DatabaseCodec::DocumentPart> located =
        record.rowId == 0 ? std::nullopt : DatabaseCodec::partOf(record, part);
    if (!located) {
        saveWhole();
        return;
    }
    SqliteConnection::Statement update =
        m_connection->statement("UPDATE records SET revision = revision + 1,"
                                " document = json_set(document, ?, json(?)) WHERE id = ?",
                                SaveFailure);
    update.bind(1, located->path).bind(2, located->json).bind(3, record.rowId);
    update.step();
    updated(record, kind);
}

void NetworkDatabase::updated(RowRecord& row, const char* kind) {
    if (m_connection->changes() != 1)
        throw Error::lns(Code::NotFound, Source,
                         QStringLiteral("Another process has removed the %1 meanwhile.")
                             .arg(QLatin1String(kind)));
    row.revision += 1;
}

void NetworkDatabase::transact(const std::function<void()>& change,
                               const std::function<void()>& save,
                               const std::function<void()>& undo) {
    requireOpen();
    m_connection->beginWrite(SaveFailure);
    try {
        requireSameFile();
        refresh();
    } catch (...) {
        m_connection->rollback();
        throw;
    }
    change();
    try {
        save();
        m_connection->commit(SaveFailure);
    } catch (...) {
        m_connection->rollback();
        undo();
        m_reloadAll = true;
        throw;
    }
}

void NetworkDatabase::carryTransaction() {
    if (!m_channel)
        m_channel = std::make_unique<SimChannel>(m_folder + QStringLiteral("/network.channel"));
    m_channel->carry(channelCapacity(), m_server->latencyMs);
}

double NetworkDatabase::channelCapacity() const {
    if (m_server->channelCapacity)
        return *m_server->channelCapacity;
    return m_records.systems.empty() ? defaultChannel().transactionsPerSecond
                                     : m_records.systems.front()->channel.transactionsPerSecond;
}

// A system's settings are small: every change writes them whole.
std::shared_ptr<NetworkDocument> NetworkDatabase::documentOf(const Shared<SystemRecord>& system) {
    const auto save = [this, system] {
        saveRow(*system, "system", 0, DatabaseCodec::writeSystemSettings(*system));
    };
    return std::make_shared<NetworkDocument>(shared_from_this(), save,
                                             [save](const RecordPart&) { save(); });
}

std::shared_ptr<NetworkDocument>
NetworkDatabase::documentOf(const Shared<SystemRecord>& system,
                            const Shared<DeviceTemplateRecord>& deviceTemplate) {
    const auto save = [this, system, deviceTemplate] {
        saveRow(*deviceTemplate, "template", system->rowId,
                DatabaseCodec::writeTemplate(*deviceTemplate));
        m_templates[deviceTemplate->rowId] = deviceTemplate;
    };
    return std::make_shared<NetworkDocument>(
        shared_from_this(), save, [this, deviceTemplate, save](const RecordPart& part) {
            saveRowPart(*deviceTemplate, "template", part, save);
        });
}

std::shared_ptr<NetworkDocument>
NetworkDatabase::documentOf(const Shared<AppDeviceRecord>& device) {
    const auto save = [this, device] {
        interfaceOf(*device);
        saveRow(*device, "device", device->parentRow, DatabaseCodec::writeDevice(*device));
    };
    return std::make_shared<NetworkDocument>(shared_from_this(), save,
                                             [this, device, save](const RecordPart& part) {
                                                 saveRowPart(*device, "device", part, save);
                                             });
}

void NetworkDatabase::addTemplate(SystemRecord& system,
                                  const Shared<DeviceTemplateRecord>& deviceTemplate) {
    requireOpen();
    system.templates.push_back(deviceTemplate);
}

void NetworkDatabase::removeTemplate(SystemRecord& system,
                                     const Shared<DeviceTemplateRecord>& deviceTemplate) {
    if (deviceTemplate->rowId == 0) {
        eraseRecord(system.templates, deviceTemplate);
        return;
    }
    transact([&] { eraseRecord(system.templates, deviceTemplate); },
             [&] {
                 SqliteConnection::Statement remove =
                     m_connection->statement("DELETE FROM records WHERE id = ?", SaveFailure);
                 remove.bind(1, deviceTemplate->rowId);
                 remove.step();
                 m_templates.erase(deviceTemplate->rowId);
             },
             [] {});
}

void NetworkDatabase::savePending() {
    if (visitPending(false))
        transact([] {}, [this] { visitPending(true); }, [] {});
}

bool NetworkDatabase::visitPending(bool save) {
    bool found = false;
    // Each list of applications with new ones is written as a part of its row.
    const auto visitApps = [&](auto& record, const char* kind, const std::function<void()>& whole) {
        for (SharedList<ComponentAppRecord>* apps : appListsOf(record)) {
            if (!hasPendingApps(*apps, save))
                continue;
            found = true;
            if (save)
                saveRowPart(record, kind, apps, whole);
        }
    };
    for (const auto& system : m_records.systems) {
        if (hasPendingApps(system->componentApps, save)) {
            found = true;
            if (save)
                saveRow(*system, "system", 0, DatabaseCodec::writeSystemSettings(*system));
        }
        for (const auto& deviceTemplate : system->templates) {
            const auto whole = [&] {
                saveRow(*deviceTemplate, "template", system->rowId,
                        DatabaseCodec::writeTemplate(*deviceTemplate));
                m_templates[deviceTemplate->rowId] = deviceTemplate;
            };
            if (deviceTemplate->rowId == 0) {
                found = true;
                if (save)
                    whole();
            }
            visitApps(*deviceTemplate, "template", whole);
        }
        for (const auto& subsystem : system->subsystems) {
            for (const auto& device : subsystem->devices)
                visitApps(*device, "device", [&] {
                    saveRow(*device, "device", subsystem->rowId,
                            DatabaseCodec::writeDevice(*device));
                });
        }
    }
    return found;
}

} // namespace lns::sim
