// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

enum class Hive { LocalMachine, CurrentUser, ClassesRoot };

enum class ValueType : int { String = 1, Binary = 3, DWord = 4 };

struct RegistryValue {
    QString name; // empty: the key's default value
    ValueType type = ValueType::String;
    QByteArray data; // String: UTF-16LE without terminator; DWord: 4 bytes little-endian

    static RegistryValue string(const QString& name, const QString& text);
    static RegistryValue dword(const QString& name, quint32 number);
    static RegistryValue binary(const QString& name, const QByteArray& bytes);

    QString text() const;   // String data as stored, NULs included
    quint32 number() const; // DWord data
};

// The machine's registry: three hives of keys that hold sub-keys and typed
// values, kept in one SQLite file. Names compare without regard to case and
// keep the case they were created with. Every write is one transaction, and a
// busy file makes a writer wait, so several processes can share the store.
// Any failure to use the file throws Error whose description names the file;
// the file is opened on first use, and again after a failed open. Reads of a
// missing file find nothing and make no file; the first write makes it.
class SettingsStore {
public:
    explicit SettingsStore(QString file);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const QString& file() const { return m_file; }

    bool keyExists(Hive hive, const QString& path);
    // The path with each name as it was created; std::nullopt when the key is missing.
    std::optional<QString> storedPath(Hive hive, const QString& path);
    void createKey(Hive hive, const QString& path);
    // Creates the key and any missing parents.
    void setValue(Hive hive, const QString& path, const RegistryValue& value);
    // As setValue, but only when the value does not exist yet, checked and
    // written in one transaction; false when it existed.
    bool addValue(Hive hive, const QString& path, const RegistryValue& value);
    std::optional<RegistryValue> value(Hive hive, const QString& path, const QString& name);
    // In creation order; std::nullopt when the key is missing.
    std::optional<QList<RegistryValue>> values(Hive hive, const QString& path);
    // Names as created, sorted without regard to case; std::nullopt when the key is missing.
    std::optional<QStringList> subKeys(Hive hive, const QString& path);
    // False when the value or key is missing.
    bool deleteValue(Hive hive, const QString& path, const QString& name);
    // Deletes a key that has no sub-keys, as the platform's key deletion does.
    // False when it is missing or still has sub-keys.
    bool deleteKey(Hive hive, const QString& path);
    // Deletes a key with all its sub-keys; false when it is missing.
    bool deleteTree(Hive hive, const QString& path);

    static QStringList splitPath(const QString& path);

private:
    class Statement;
    enum class Access { Read, Write };
    void ensureOpen(Access access);
    bool fileExists() const;
    void openStandIn();
    void open();
    bool openForWriting();
    void openForReading();
    void closeDatabase();
    [[noreturn]] void fail(const QString& action) const;
    void exec(const char* sql);
    // The id of the key, or 0 when it (or a parent) is missing.
    qint64 findKey(Hive hive, const QString& path);
    qint64 findOrCreateKey(Hive hive, const QString& path);
    template <typename Work> auto inTransaction(Work work);
    sqlite3_stmt* prepared(int slot, const char* sql);

    QString m_file;
    sqlite3* m_db = nullptr;
    bool m_standIn = false; // m_db is an empty store in memory
    sqlite3_stmt* m_statements[14] = {};
};
