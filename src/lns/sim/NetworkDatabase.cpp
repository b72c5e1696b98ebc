#include "lns/sim/NetworkDatabase.h"

#include "lns/LnsCodes.h"
#include "lns/sim/DatabaseCodec.h"
#include "lns/sim/NetworkDocument.h"
#include "lns/sim/RecordMerge.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>
#include <exception>
#include <optional>

namespace lns::sim {

namespace {

const QString Source = QStringLiteral("LNS Object Server");
const QString ReadFailure = QStringLiteral("%1");
const QString SaveFailure = QStringLiteral("Cannot save %1");
constexpr qint64 SchemaVersion = 1;

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

bool hasPendingApps(InterfaceRecord& interface, bool take) {
    bool found = false;
    for (const auto& object : interface.lonMarkObjects)
        found = hasPendingApps(object->componentApps, take) || found;
    return found;
}

template <class Record> void eraseRecord(SharedList<Record>& list, const Shared<Record>& record) {
    list.erase(std::remove(list.begin(), list.end(), record), list.end());
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
    std::optional<NetworkRecord> description;
    const bool exists = QFileInfo::exists(file());
    if (!exists)
        description = readDescription(descriptionFile()); // a refused file creates nothing
    m_connection = std::make_unique<SqliteConnection>(file(), !exists);
    try {
        const qint64 version = userVersion(*m_connection);
        if (version == 0)
            load(description ? *description : readDescription(descriptionFile()));
        else if (version != SchemaVersion)
            throw Error::lns(Code::DatabaseInvalid, Source,
                             QStringLiteral("%1: a network database of another version (%2)")
                                 .arg(file())
                                 .arg(version));
        m_reloadAll = true;
        refresh();
    } catch (...) {
        m_connection.reset();
        throw;
    }
}

// Another process may load the same description at the same time; the first
// transaction wins and the other finds the rows there.
void NetworkDatabase::load(const NetworkRecord& network) {
    m_connection->exec("BEGIN IMMEDIATE", SaveFailure);
    try {
        if (userVersion(*m_connection) == 0) {
            m_connection->exec(Schema, SaveFailure);
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
        m_connection->exec("COMMIT", SaveFailure);
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
        savePending();
    } catch (...) {
        failure = std::current_exception();
    }
    m_connection.reset();
    m_systems.clear();
    m_subsystems.clear();
    m_templates.clear();
    m_devices.clear();
    m_records = NetworkRecord();
    m_dataVersion = -1;
    m_reloadAll = true;
    if (failure)
        std::rethrow_exception(failure);
}

void NetworkDatabase::requireOpen() const {
    if (!m_connection)
        throw Error::lns(Code::NotOpen, Source,
                         QStringLiteral("The network %1 is not open.").arg(m_name));
}

NetworkRecord& NetworkDatabase::records() {
    requireOpen();
    return m_records;
}

QByteArray NetworkDatabase::toJson() {
    return QJsonDocument(DatabaseCodec::writeNetwork(records())).toJson(QJsonDocument::Indented);
}

void NetworkDatabase::beginCall(const QString& line) {
    m_server->beginCall(line);
    refresh();
}

void NetworkDatabase::refresh() {
    if (!m_connection)
        return;
    const qint64 version = m_connection->dataVersion();
    if (version == m_dataVersion && !m_reloadAll)
        return;
    const bool ownTransaction = !m_connection->inTransaction();
    if (ownTransaction)
        m_connection->exec("BEGIN", ReadFailure); // one snapshot for every row read
    try {
        const std::vector<Row> rows = readRows();
        sync(
            m_systems, rows, "system",
            [](const JsonNode& node) {
                auto system = DatabaseCodec::readSystemSettings(node);
                system->currentInterface = system->networkInterface;
                return system;
            },
            RecordMerge::system);
        sync(m_subsystems, rows, "subsystem", DatabaseCodec::readSubsystemSettings,
             RecordMerge::subsystem);
        sync(m_templates, rows, "template", DatabaseCodec::readTemplate,
             RecordMerge::deviceTemplate);
        sync(m_devices, rows, "device", DatabaseCodec::readDevice, RecordMerge::device);
        rebuildTree();
        m_dataVersion = version;
        m_reloadAll = false;
        if (ownTransaction)
            m_connection->exec("COMMIT", ReadFailure);
    } catch (...) {
        if (ownTransaction)
            m_connection->rollback();
        throw;
    }
}

std::vector<NetworkDatabase::Row> NetworkDatabase::readRows() {
    std::vector<Row> rows;
    SqliteConnection::Statement select = m_connection->statement(
        "SELECT id, kind, parent, revision FROM records ORDER BY id", ReadFailure);
    while (select.step())
        rows.push_back({select.number(0), select.text(1), select.number(2), select.number(3)});
    return rows;
}

template <class Record, class Read, class Merge>
void NetworkDatabase::sync(std::map<qint64, Shared<Record>>& cache, const std::vector<Row>& rows,
                           const char* kind, Read read, Merge merge) {
    std::map<qint64, Shared<Record>> synced;
    for (const Row& row : rows) {
        if (row.kind != kind)
            continue;
        const auto found = cache.find(row.id);
        Shared<Record> record = found == cache.end() ? nullptr : found->second;
        if (!record || record->revision != row.revision || m_reloadAll) {
            SqliteConnection::Statement select =
                m_connection->statement("SELECT document FROM records WHERE id = ?", ReadFailure);
            select.bind(1, row.id);
            if (!select.step())
                continue;
            const QString label = QStringLiteral("%1 (row %2)").arg(file()).arg(row.id);
            Shared<Record> fresh = read(JsonNode::parseDocument(select.text(0), label));
            fresh->rowId = row.id;
            fresh->parentRow = row.parent;
            fresh->revision = row.revision;
            if (record)
                merge(*record, *fresh);
            else
                record = fresh;
        }
        synced.emplace(row.id, record);
    }
    cache = std::move(synced);
}

void NetworkDatabase::rebuildTree() {
    NetworkRecord records;
    for (const auto& [systemId, system] : m_systems) {
        SharedList<DeviceTemplateRecord> templates;
        for (const auto& [templateId, deviceTemplate] : m_templates) {
            if (deviceTemplate->parentRow == systemId)
                templates.push_back(deviceTemplate);
        }
        for (const auto& pending : system->templates) {
            if (pending->rowId == 0)
                templates.push_back(pending);
        }
        system->templates = std::move(templates);
        SharedList<SubsystemRecord> subsystems;
        for (const auto& [subsystemId, subsystem] : m_subsystems) {
            if (subsystem->parentRow != systemId)
                continue;
            SharedList<AppDeviceRecord> devices;
            for (const auto& [deviceId, device] : m_devices) {
                if (device->parentRow == subsystemId)
                    devices.push_back(device);
            }
            subsystem->devices = std::move(devices);
            subsystems.push_back(subsystem);
        }
        system->subsystems = std::move(subsystems);
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
    m_connection->exec("BEGIN IMMEDIATE", SaveFailure);
    try {
        refresh();
    } catch (...) {
        m_connection->rollback();
        throw;
    }
    change();
    try {
        save();
        m_connection->exec("COMMIT", SaveFailure);
    } catch (...) {
        m_connection->rollback();
        undo();
        m_reloadAll = true;
        throw;
    }
}

std::shared_ptr<NetworkDocument> NetworkDatabase::documentOf(const Shared<SystemRecord>& system) {
    return std::make_shared<NetworkDocument>(shared_from_this(), [this, system] {
        saveRow(*system, "system", 0, DatabaseCodec::writeSystemSettings(*system));
    });
}

std::shared_ptr<NetworkDocument>
NetworkDatabase::documentOf(const Shared<SystemRecord>& system,
                            const Shared<DeviceTemplateRecord>& deviceTemplate) {
    return std::make_shared<NetworkDocument>(shared_from_this(), [this, system, deviceTemplate] {
        saveRow(*deviceTemplate, "template", system->rowId,
                DatabaseCodec::writeTemplate(*deviceTemplate));
        m_templates[deviceTemplate->rowId] = deviceTemplate;
    });
}

std::shared_ptr<NetworkDocument>
NetworkDatabase::documentOf(const Shared<AppDeviceRecord>& device) {
    return std::make_shared<NetworkDocument>(shared_from_this(), [this, device] {
        saveRow(*device, "device", device->parentRow, DatabaseCodec::writeDevice(*device));
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
    const auto visit = [&](bool pending, const std::function<void()>& write) {
        found = found || pending;
        if (pending && save)
            write();
    };
    for (const auto& system : m_records.systems) {
        visit(hasPendingApps(system->componentApps, save),
              [&] { saveRow(*system, "system", 0, DatabaseCodec::writeSystemSettings(*system)); });
        for (const auto& deviceTemplate : system->templates) {
            const bool apps = hasPendingApps(deviceTemplate->componentApps, save);
            visit(hasPendingApps(*deviceTemplate->interface, save) || apps ||
                      deviceTemplate->rowId == 0,
                  [&] {
                      saveRow(*deviceTemplate, "template", system->rowId,
                              DatabaseCodec::writeTemplate(*deviceTemplate));
                      m_templates[deviceTemplate->rowId] = deviceTemplate;
                  });
        }
        for (const auto& subsystem : system->subsystems) {
            for (const auto& device : subsystem->devices)
                visit(hasPendingApps(*device->interface, save), [&] {
                    saveRow(*device, "device", subsystem->rowId,
                            DatabaseCodec::writeDevice(*device));
                });
        }
    }
    return found;
}

} // namespace lns::sim
