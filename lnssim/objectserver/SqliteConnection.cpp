// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SqliteConnection.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"
#include "platform/SqliteFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace lns::sim {

namespace {

// The log index's first region, as SQLite maps it: two copies of the header,
// the second written first, so that equal copies are a whole header.
constexpr int LogIndexRegionSize = 32768;
constexpr size_t HeaderSize = std::tuple_size_v<SqliteConnection::CommitMark>;
constexpr size_t HeaderIsInit = 12; // zero until a connection has built the index

// Waits for the lock on the whole file, or releases it.
bool lockWhole(int fd, short type) {
    struct flock whole {};
    whole.l_type = type;
    whole.l_whence = SEEK_SET;
    int rc = 0;
    while ((rc = fcntl(fd, F_OFD_SETLKW, &whole)) != 0 && errno == EINTR) {
    }
    return rc == 0;
}

} // namespace

SqliteConnection::SqliteConnection(QString file, bool create, int busyTimeoutMs)
    : m_file(std::move(file)), m_busyTimeoutMs(busyTimeoutMs) {
    try {
        if (create)
            SqliteFile::createFollowingUmask(m_file);
        if (!openForWriting(create)) {
            // A network this process may only read still answers reads; a
            // write then fails with the database's own reason.
            close();
            if (SqliteFile::openForReading(m_file, &m_db) != SQLITE_OK)
                fail(QStringLiteral("%1"));
            sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
        }
    } catch (...) {
        close();
        throw;
    }
}

bool SqliteConnection::openForWriting(bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int opened = sqlite3_open_v2(m_file.toUtf8().constData(), &m_db, flags, nullptr);
    if (SqliteFile::isReadOnlyFailure(opened) && !create)
        return false;
    if (opened != SQLITE_OK)
        fail(QStringLiteral("%1"));
    sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
    const int logged = SqliteFile::useWriteAheadLog(m_db, m_busyTimeoutMs);
    if (SqliteFile::isReadOnlyFailure(logged) && !create)
        return false;
    if (logged != SQLITE_OK)
        fail(QStringLiteral("%1"));
    // A killed process loses nothing committed; only a power cut may undo
    // the last transactions, which keeps a commit free of a disk sync.
    exec("PRAGMA synchronous=NORMAL", QStringLiteral("%1"));
    // The template of a large interface file is a row of several MiB, and
    // registering its commands rewrites it once per step: the log is copied
    // into the file when it holds 16 MiB, not after each such write.
    exec("PRAGMA wal_autocheckpoint=4096", QStringLiteral("%1"));
    // A process keeps the records it needs in memory and reads again only
    // rows that changed, and another process's commit empties this cache
    // anyway; a run with a connection per device in flight would otherwise
    // hold the default 2 MiB for each.
    exec("PRAGMA cache_size=-128", QStringLiteral("%1"));
    m_sharesLogIndex = true;
    m_writerQueue = ::open((m_file + QStringLiteral("-writer")).toLocal8Bit().constData(),
                           O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return true;
}

SqliteConnection::~SqliteConnection() {
    close();
}

void SqliteConnection::close() {
    leaveWriterQueue();
    if (m_writerQueue >= 0)
        ::close(m_writerQueue);
    m_writerQueue = -1;
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
}

void SqliteConnection::fail(const QString& failure) const {
    const int systemError = errno;
    QString reason =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    // "disk I/O error" says little: the system's own reason says why (a full
    // disk, a file size limit).
    if (m_db && (sqlite3_extended_errcode(m_db) & 0xFF) == SQLITE_IOERR) {
        const int cause =
            sqlite3_system_errno(m_db) != 0 ? sqlite3_system_errno(m_db) : systemError;
        if (cause != 0)
            reason = QString::fromLocal8Bit(std::strerror(cause));
    }
    throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                     failure.arg(m_file) + QStringLiteral(": ") + reason);
}

void SqliteConnection::exec(const char* sql, const QString& failure) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(failure);
}

SqliteConnection::Statement SqliteConnection::statement(const char* sql, const QString& failure) {
    sqlite3_stmt*& statement = m_statements[sql];
    if (!statement && sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        m_statements.erase(sql);
        fail(failure);
    }
    return Statement(*this, statement, failure);
}

qint64 SqliteConnection::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteConnection::changes() const {
    return sqlite3_changes(m_db);
}

bool SqliteConnection::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

void SqliteConnection::beginWrite(const QString& failure) {
    m_inWriterQueue = m_writerQueue >= 0 && lockWhole(m_writerQueue, F_WRLCK);
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        leaveWriterQueue();
        fail(failure);
    }
}

void SqliteConnection::commit(const QString& failure) {
    exec("COMMIT", failure);
    leaveWriterQueue();
}

void SqliteConnection::rollback() noexcept {
    if (inTransaction())
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    leaveWriterQueue();
}

void SqliteConnection::leaveWriterQueue() noexcept {
    if (m_inWriterQueue)
        lockWhole(m_writerQueue, F_UNLCK);
    m_inWriterQueue = false;
}

qint64 SqliteConnection::dataVersion() {
    Statement version = statement("PRAGMA data_version", QStringLiteral("%1"));
    version.step();
    return version.number(0);
}

std::optional<SqliteConnection::CommitMark> SqliteConnection::commitMark() const {
    sqlite3_file* file = nullptr;
    if (!m_sharesLogIndex ||
        sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods || file->pMethods->iVersion < 2)
        return std::nullopt;
    volatile void* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, LogIndexRegionSize, 0, &region) != SQLITE_OK || !region)
        return std::nullopt;
    const auto* bytes = static_cast<const volatile unsigned char*>(region);
    CommitMark first{};
    CommitMark second{};
    for (size_t at = 0; at < HeaderSize; ++at)
        first[at] = bytes[at];
    std::atomic_thread_fence(std::memory_order_acquire);
    for (size_t at = 0; at < HeaderSize; ++at)
        second[at] = bytes[HeaderSize + at];
    if (first != second || first[HeaderIsInit] == 0)
        return std::nullopt;
    return first;
}

SqliteConnection::Statement::Statement(const SqliteConnection& connection, sqlite3_stmt* statement,
                                       QString failure)
    : m_connection(connection), m_statement(statement), m_failure(std::move(failure)) {}

SqliteConnection::Statement::~Statement() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

SqliteConnection::Statement& SqliteConnection::Statement::bind(int index, qint64 number) {
    sqlite3_bind_int64(m_statement, index, number);
    return *this;
}

SqliteConnection::Statement& SqliteConnection::Statement::bind(int index, const QByteArray& utf8) {
    sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

bool SqliteConnection::Statement::step() {
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection.fail(m_failure);
}

qint64 SqliteConnection::Statement::number(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

QByteArray SqliteConnection::Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArray(data, sqlite3_column_bytes(m_statement, column));
}

} // namespace lns::sim
