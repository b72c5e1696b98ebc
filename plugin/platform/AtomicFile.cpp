// SPDX-License-Identifier: Apache-2.0
#include "platform/AtomicFile.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace AtomicFile {

namespace {

constexpr mode_t NewFileMode = 0666; // less the umask, as for any new file

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw Error::lns(lns::Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                     QStringLiteral("Cannot save %1: %2").arg(path, reason));
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& content) {
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t written =
            ::write(fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const QByteArray& folder) {
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

} // namespace

void write(const QString& path, const QByteArray& content) {
    const QFileInfo target(path);
    // A device node, a FIFO or a folder is never replaced by a regular file.
    if (target.exists() && !target.isFile())
        fail(path, QStringLiteral("it is not a regular file"));
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    const QByteArray named =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                          QStringLiteral(".%1.tmp").arg(::getpid()));
    // Unnamed until it is complete; a file system without unnamed files gets
    // a named one for the whole save.
    const Descriptor fd(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, NewFileMode));
    const bool unnamed = fd.get() >= 0;
    const Descriptor fallback(
        unnamed ? -1
                : ::open(named.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, NewFileMode));
    const int output = unnamed ? fd.get() : fallback.get();
    if (output < 0)
        fail(path, systemReason());
    const auto discard = [&] {
        if (!unnamed)
            ::unlink(named.constData());
    };
    if (!writeAll(output, content) || ::fsync(output) != 0) {
        const QString reason = systemReason();
        discard();
        fail(path, reason);
    }
    if (unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(output);
        ::unlink(named.constData()); // left by a process of the same number killed here
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, named.constData(), AT_SYMLINK_FOLLOW) !=
            0)
            fail(path, systemReason());
    }
    if (std::rename(named.constData(), to.constData()) != 0) {
        const QString reason = systemReason();
        ::unlink(named.constData());
        fail(path, reason);
    }
    syncFolder(folder);
}

} // namespace AtomicFile
