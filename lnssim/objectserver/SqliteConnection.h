// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace lns::sim {

// One connection to a network database file: write-ahead log, so readers never
// wait for a writer, and a queue of writers, so a writer waits for every
// earlier one instead of failing. The queue is a lock on the file
// <database>-writer that the kernel hands to one open file at a time and for
// which a writer waits as long as it takes: SQLite's own busy timeout polls,
// and among many writers one can lose every round until the timeout ends
// (the timeout still covers programs that do not queue). Every failure throws
// Error(DatabaseInvalid) whose description names the file and gives SQLite's
// own reason ("database or disk is full", "file is not a database"). A file
// this process may only read is opened for reading: reads answer, writes fail.
class SqliteConnection {
public:
    class Statement;

    // `create` makes a missing file; otherwise a missing file fails.
    // `busyTimeoutMs` bounds the wait for writers outside the queue.
    SqliteConnection(QString file, bool create, int busyTimeoutMs = 30000);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    const QString& file() const { return m_file; }

    // `failure` is the description's start, with %1 for the file: "Cannot save %1".
    void exec(const char* sql, const QString& failure);
    Statement statement(const char* sql, const QString& failure);
    qint64 lastInsertId() const;
    // Rows the last statement changed.
    int changes() const;
    bool inTransaction() const;
    // A write transaction in its turn, and its end, which lets the next
    // writer in; `failure` as for exec.
    void beginWrite(const QString& failure);
    void commit(const QString& failure);
    // Ends the open transaction without its changes; never fails.
    void rollback() noexcept;
    // Changes when another connection commits to the file.
    qint64 dataVersion();

    // The header of the write-ahead log's index in shared memory, which every
    // commit of any connection rewrites: while it stays the same, nothing was
    // committed. Reading it takes no lock, unlike the read transaction that
    // dataVersion() needs. Empty for a file opened for reading only, and
    // while a writer is rewriting the header.
    using CommitMark = std::array<unsigned char, 48>;
    std::optional<CommitMark> commitMark() const;

    [[noreturn]] void fail(const QString& failure) const;

private:
    // False when the file or its folder may only be read.
    bool openForWriting(bool create);
    void close();
    void leaveWriterQueue() noexcept;

    QString m_file;
    int m_busyTimeoutMs;
    sqlite3* m_db = nullptr;
    int m_writerQueue = -1; // the lock file's descriptor; -1 without one
    bool m_inWriterQueue = false;
    bool m_sharesLogIndex = false;
    std::map<const char*, sqlite3_stmt*> m_statements;
};

// A cached statement, reset when this object goes.
class SqliteConnection::Statement {
public:
    Statement(const SqliteConnection& connection, sqlite3_stmt* statement, QString failure);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, qint64 number);
    Statement& bind(int index, const QByteArray& utf8);
    // True while a row is available.
    bool step();
    qint64 number(int column) const;
    QByteArray text(int column) const;

private:
    const SqliteConnection& m_connection;
    sqlite3_stmt* m_statement;
    QString m_failure;
};

} // namespace lns::sim
