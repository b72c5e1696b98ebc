#include "lns/sim/AtomicFile.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lns::sim::AtomicFile {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                     QStringLiteral("Cannot save %1: %2").arg(path, reason));
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Straight to the descriptor: a short write leaves errno saying why (a full
// disk, a size limit), where a buffered QFile may report only "Unknown error".
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
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void write(const QString& path, const QByteArray& content) {
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QLatin1Char('/') + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        fail(path, temporary.errorString());
    if (!writeAll(temporary.handle(), content))
        fail(path, systemReason());
    if (::fsync(temporary.handle()) != 0)
        fail(path, systemReason());
    const QByteArray from = QFile::encodeName(temporary.fileName());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        fail(path, systemReason());
    temporary.setAutoRemove(false);
    syncFolder(target.absolutePath());
}

} // namespace lns::sim::AtomicFile
