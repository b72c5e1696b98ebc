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
    if (temporary.write(content) != content.size() || !temporary.flush())
        fail(path, temporary.errorString());
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
