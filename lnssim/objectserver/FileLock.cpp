// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FileLock.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace lns::sim {

namespace {

QString reason(const char* what, const QByteArray& file) {
    return QStringLiteral("cannot %1 %2: %3")
        .arg(QLatin1String(what), QFile::decodeName(file),
             QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

FileLock::FileLock(const QString& file, Kind kind, Wait wait) {
    const QByteArray name = QFile::encodeName(file);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // another user's file
    if (fd < 0) {
        m_problem = reason("open", name);
        return;
    }
    const int operation =
        (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | (wait == Wait::No ? LOCK_NB : 0);
    int locked = -1;
    while ((locked = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    if (locked == 0) {
        m_fd = fd;
        return;
    }
    if (errno != EWOULDBLOCK)
        m_problem = reason("lock", name);
    ::close(fd);
}

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_problem(std::move(other.m_problem)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_problem = std::move(other.m_problem);
    }
    return *this;
}

void FileLock::release() noexcept {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

QString inUseFileOf(const QString& lonWorksFolder) {
    return QDir::cleanPath(lonWorksFolder) + QStringLiteral(".in-use");
}

} // namespace lns::sim
