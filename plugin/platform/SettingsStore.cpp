// SPDX-License-Identifier: Apache-2.0
#include "platform/SettingsStore.h"

#include "platform/Error.h"
#include "platform/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString StoreSource = QStringLiteral("SettingsStore");

const char* const CreateSchema =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS keys ("
    " id INTEGER PRIMARY KEY, parent INTEGER, name TEXT NOT NULL, fold TEXT NOT NULL,"
    " UNIQUE (parent, fold));"
    "CREATE TABLE IF NOT EXISTS vals ("
    " id INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL, fold TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE (key, fold));"
    "INSERT OR IGNORE INTO keys (id, parent, name, fold) VALUES"
    " (1, NULL, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),"
    " (2, NULL, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
    " (3, NULL, 'HKEY_CLASSES_ROOT', 'hkey_classes_root');"
    "COMMIT;";

using SqliteFile::isReadOnlyFailure;

constexpr int BusyTimeoutMs = 30000;

qint64 hiveRoot(Hive hive) {
    switch (hive) {
    case Hive::LocalMachine:
        return 1;
    case Hive::CurrentUser:
        return 2;
    case Hive::ClassesRoot:
        return 3;
    }
    return 0;
}

QString fold(const QString& name) {
    return name.toCaseFolded();
}

enum Slot {
    FindChild,
    InsertKey,
    SelectValue,
    SelectValues,
    UpsertValue,
    DeleteValue,
    SelectChildren,
    CountChildren,
    DeleteKeyValues,
    DeleteKeyRow,
    DeleteTreeValues,
    DeleteTreeKeys,
    FindChildName,
    InsertValue,
};

} // namespace

// Binds, steps and resets one cached statement.
class SettingsStore::Statement {
public:
    Statement(SettingsStore& store, sqlite3_stmt* statement)
        : m_store(store), m_statement(statement) {}
    ~Statement() {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    Statement& bind(int index, qint64 number) {
        sqlite3_bind_int64(m_statement, index, number);
        return *this;
    }
    Statement& bind(int index, const QString& text) {
        m_texts.push_back(text.toUtf8());
        const QByteArray& utf8 = m_texts.back();
        sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int index, const QByteArray& bytes) {
        sqlite3_bind_blob(m_statement, index, bytes.constData(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    // True while a row is available.
    bool step() {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        m_store.fail(QStringLiteral("query"));
    }
    qint64 number(int column) const { return sqlite3_column_int64(m_statement, column); }
    QString text(int column) const {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
    }
    QByteArray blob(int column) const {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return QByteArray(data, sqlite3_column_bytes(m_statement, column));
    }

private:
    SettingsStore& m_store;
    sqlite3_stmt* m_statement;
    std::vector<QByteArray> m_texts;
};

RegistryValue RegistryValue::string(const QString& name, const QString& text) {
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return {name, ValueType::String, data};
}

RegistryValue RegistryValue::dword(const QString& name, quint32 number) {
    QByteArray data(4, '\0');
    qToLittleEndian(number, data.data());
    return {name, ValueType::DWord, data};
}

RegistryValue RegistryValue::binary(const QString& name, const QByteArray& bytes) {
    return {name, ValueType::Binary, bytes};
}

QString RegistryValue::text() const {
    return QString(reinterpret_cast<const QChar*>(data.constData()), data.size() / 2);
}

quint32 RegistryValue::number() const {
    QByteArray padded = data.left(4);
    padded.resize(4, '\0');
    return qFromLittleEndian<quint32>(padded.constData());
}

SettingsStore::SettingsStore(QString file) : m_file(std::move(file)) {}

SettingsStore::~SettingsStore() {
    closeDatabase();
}

void SettingsStore::closeDatabase() {
    for (sqlite3_stmt*& statement : m_statements) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    sqlite3_close(m_db);
    m_db = nullptr;
    m_standIn = false;
}

void SettingsStore::ensureOpen(Access access) {
    if (m_db && !m_standIn)
        return;
    // A missing store reads as an empty one and makes no file until the
    // first write; another process may make it meanwhile.
    if (access == Access::Read && !fileExists()) {
        if (!m_db)
            openStandIn();
        return;
    }
    closeDatabase();
    try {
        open();
    } catch (...) {
        closeDatabase();
        throw;
    }
}

bool SettingsStore::fileExists() const {
    struct stat entry {};
    if (::stat(QFile::encodeName(m_file).constData(), &entry) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    throw Error(1, StoreSource,
                QStringLiteral("The settings store %1 cannot be used: %2")
                    .arg(m_file, QString::fromLocal8Bit(std::strerror(errno))));
}

void SettingsStore::openStandIn() {
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail(QStringLiteral("open"));
    exec(CreateSchema);
    m_standIn = true;
}

void SettingsStore::fail(const QString& action) const {
    const QString reason =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    throw Error(1, StoreSource,
                QStringLiteral("The settings store %1 cannot be used (%2): %3")
                    .arg(m_file, action, reason));
}

void SettingsStore::exec(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("open"));
}

template <typename Work> auto SettingsStore::inTransaction(Work work) {
    ensureOpen(Access::Write);
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("begin"));
    try {
        auto result = work();
        if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QStringLiteral("commit"));
        return result;
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SettingsStore::open() {
    const QFileInfo info(m_file);
    if (!info.exists()) {
        if (!QDir().mkpath(info.absolutePath()))
            throw Error(1, StoreSource,
                        QStringLiteral("The settings store %1 cannot be used: its folder %2 "
                                       "cannot be created")
                            .arg(m_file, info.absolutePath()));
        SqliteFile::createFollowingUmask(m_file);
    }
    if (openForWriting())
        return;
    // A store this process may only read still answers reads; a write then
    // fails with the database's own reason.
    closeDatabase();
    openForReading();
}

// False when the file or its folder can only be read.
bool SettingsStore::openForWriting() {
    const int opened = sqlite3_open_v2(m_file.toUtf8().constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (isReadOnlyFailure(opened))
        return false;
    if (opened != SQLITE_OK)
        fail(QStringLiteral("open"));
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    const int logged = SqliteFile::useWriteAheadLog(m_db, BusyTimeoutMs);
    if (isReadOnlyFailure(logged))
        return false;
    if (logged != SQLITE_OK)
        fail(QStringLiteral("open"));
    exec("PRAGMA synchronous=NORMAL");
    const int created = sqlite3_exec(m_db, CreateSchema, nullptr, nullptr, nullptr);
    if (isReadOnlyFailure(created))
        return false;
    if (created != SQLITE_OK)
        fail(QStringLiteral("open"));
    return true;
}

void SettingsStore::openForReading() {
    if (!QFileInfo::exists(m_file))
        throw Error(1, StoreSource,
                    QStringLiteral("The settings store %1 cannot be used: it does not exist and "
                                   "its folder %2 cannot be written")
                        .arg(m_file, QFileInfo(m_file).absolutePath()));
    if (SqliteFile::openForReading(m_file, &m_db) != SQLITE_OK)
        fail(QStringLiteral("open"));
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
}

sqlite3_stmt* SettingsStore::prepared(int slot, const char* sql) {
    if (!m_statements[slot] && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT,
                                                  &m_statements[slot], nullptr) != SQLITE_OK)
        fail(QStringLiteral("prepare"));
    return m_statements[slot];
}

QStringList SettingsStore::splitPath(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

qint64 SettingsStore::findKey(Hive hive, const QString& path) {
    qint64 id = hiveRoot(hive);
    for (const QString& name : splitPath(path)) {
        Statement find(*this,
                       prepared(FindChild, "SELECT id FROM keys WHERE parent = ? AND fold = ?"));
        find.bind(1, id).bind(2, fold(name));
        if (!find.step())
            return 0;
        id = find.number(0);
    }
    return id;
}

qint64 SettingsStore::findOrCreateKey(Hive hive, const QString& path) {
    qint64 id = hiveRoot(hive);
    for (const QString& name : splitPath(path)) {
        Statement find(*this,
                       prepared(FindChild, "SELECT id FROM keys WHERE parent = ? AND fold = ?"));
        find.bind(1, id).bind(2, fold(name));
        if (find.step()) {
            id = find.number(0);
            continue;
        }
        Statement insert(
            *this, prepared(InsertKey, "INSERT INTO keys (parent, name, fold) VALUES (?, ?, ?)"));
        insert.bind(1, id).bind(2, name).bind(3, fold(name));
        insert.step();
        id = sqlite3_last_insert_rowid(m_db);
    }
    return id;
}

bool SettingsStore::keyExists(Hive hive, const QString& path) {
    ensureOpen(Access::Read);
    return findKey(hive, path) != 0;
}

std::optional<QString> SettingsStore::storedPath(Hive hive, const QString& path) {
    ensureOpen(Access::Read);
    qint64 id = hiveRoot(hive);
    QStringList names;
    for (const QString& name : splitPath(path)) {
        Statement find(*this, prepared(FindChildName,
                                       "SELECT id, name FROM keys WHERE parent = ? AND fold = ?"));
        find.bind(1, id).bind(2, fold(name));
        if (!find.step())
            return std::nullopt;
        id = find.number(0);
        names.append(find.text(1));
    }
    return names.join(QLatin1Char('\\'));
}

void SettingsStore::createKey(Hive hive, const QString& path) {
    inTransaction([&] { return findOrCreateKey(hive, path); });
}

void SettingsStore::setValue(Hive hive, const QString& path, const RegistryValue& value) {
    inTransaction([&] {
        const qint64 key = findOrCreateKey(hive, path);
        Statement upsert(
            *this, prepared(UpsertValue,
                            "INSERT INTO vals (key, name, fold, type, data) VALUES (?, ?, ?, ?, ?)"
                            " ON CONFLICT (key, fold) DO UPDATE SET type = excluded.type,"
                            " data = excluded.data"));
        upsert.bind(1, key).bind(2, value.name).bind(3, fold(value.name));
        upsert.bind(4, static_cast<qint64>(value.type)).bindBlob(5, value.data);
        upsert.step();
        return 0;
    });
}

bool SettingsStore::addValue(Hive hive, const QString& path, const RegistryValue& value) {
    return inTransaction([&] {
        const qint64 key = findOrCreateKey(hive, path);
        Statement insert(*this, prepared(InsertValue, "INSERT INTO vals (key, name, fold, type, data)"
                                                      " VALUES (?, ?, ?, ?, ?)"
                                                      " ON CONFLICT (key, fold) DO NOTHING"));
        insert.bind(1, key).bind(2, value.name).bind(3, fold(value.name));
        insert.bind(4, static_cast<qint64>(value.type)).bindBlob(5, value.data);
        insert.step();
        return sqlite3_changes(m_db) == 1;
    });
}

std::optional<RegistryValue> SettingsStore::value(Hive hive, const QString& path,
                                                  const QString& name) {
    ensureOpen(Access::Read);
    const qint64 key = findKey(hive, path);
    if (!key)
        return std::nullopt;
    Statement select(
        *this,
        prepared(SelectValue, "SELECT name, type, data FROM vals WHERE key = ? AND fold = ?"));
    select.bind(1, key).bind(2, fold(name));
    if (!select.step())
        return std::nullopt;
    return RegistryValue{select.text(0), static_cast<ValueType>(select.number(1)), select.blob(2)};
}

std::optional<QList<RegistryValue>> SettingsStore::values(Hive hive, const QString& path) {
    ensureOpen(Access::Read);
    const qint64 key = findKey(hive, path);
    if (!key)
        return std::nullopt;
    Statement select(
        *this,
        prepared(SelectValues, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY id"));
    select.bind(1, key);
    QList<RegistryValue> result;
    while (select.step())
        result.append({select.text(0), static_cast<ValueType>(select.number(1)), select.blob(2)});
    return result;
}

std::optional<QStringList> SettingsStore::subKeys(Hive hive, const QString& path) {
    ensureOpen(Access::Read);
    const qint64 key = findKey(hive, path);
    if (!key)
        return std::nullopt;
    Statement select(
        *this, prepared(SelectChildren, "SELECT name FROM keys WHERE parent = ? ORDER BY fold"));
    select.bind(1, key);
    QStringList names;
    while (select.step())
        names.append(select.text(0));
    return names;
}

bool SettingsStore::deleteValue(Hive hive, const QString& path, const QString& name) {
    return inTransaction([&] {
        const qint64 key = findKey(hive, path);
        if (!key)
            return false;
        Statement remove(*this,
                         prepared(DeleteValue, "DELETE FROM vals WHERE key = ? AND fold = ?"));
        remove.bind(1, key).bind(2, fold(name));
        remove.step();
        return sqlite3_changes(m_db) > 0;
    });
}

bool SettingsStore::deleteKey(Hive hive, const QString& path) {
    if (splitPath(path).isEmpty())
        return false; // a hive itself cannot be deleted
    return inTransaction([&] {
        const qint64 key = findKey(hive, path);
        if (!key)
            return false;
        Statement children(*this,
                           prepared(CountChildren, "SELECT 1 FROM keys WHERE parent = ? LIMIT 1"));
        children.bind(1, key);
        if (children.step())
            return false;
        Statement values(*this, prepared(DeleteKeyValues, "DELETE FROM vals WHERE key = ?"));
        values.bind(1, key).step();
        Statement row(*this, prepared(DeleteKeyRow, "DELETE FROM keys WHERE id = ?"));
        row.bind(1, key).step();
        return true;
    });
}

bool SettingsStore::deleteTree(Hive hive, const QString& path) {
    if (splitPath(path).isEmpty())
        return false;
    return inTransaction([&] {
        const qint64 key = findKey(hive, path);
        if (!key)
            return false;
        static constexpr const char* Tree =
            "WITH RECURSIVE tree(id) AS (SELECT ? UNION ALL"
            " SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id)";
        Statement values(
            *this, prepared(DeleteTreeValues,
                            (std::string(Tree) + " DELETE FROM vals WHERE key IN tree").c_str()));
        values.bind(1, key).step();
        Statement keys(
            *this, prepared(DeleteTreeKeys,
                            (std::string(Tree) + " DELETE FROM keys WHERE id IN tree").c_str()));
        keys.bind(1, key).step();
        return true;
    });
}
