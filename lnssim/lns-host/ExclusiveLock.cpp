// SPDX-License-Identifier: Apache-2.0
#include "ExclusiveLock.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ExclusiveLock::ExclusiveLock(const QString& file) {
    m_fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    int locked = -1;
    while (m_fd >= 0 && (locked = ::flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0)
        m_problem = QStringLiteral("cannot lock %1: %2")
                        .arg(file, QString::fromLocal8Bit(std::strerror(errno)));
}

ExclusiveLock::~ExclusiveLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}
