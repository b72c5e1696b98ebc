// SPDX-License-Identifier: Apache-2.0
#include "FolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderTree {

namespace {

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

bool fail(QString& problem, const QString& what) {
    problem = what + QStringLiteral(": ") + systemReason();
    return false;
}

bool copyFile(const QString& from, const QString& to, QString& problem) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot read %1: %2").arg(from, source.errorString());
        return false;
    }
    const QByteArray content = source.readAll();
    struct stat kept {};
    ::fstat(source.handle(), &kept);
    // The copy keeps the kit file's permissions, as far as the umask allows.
    const int fd = ::open(encoded(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          kept.st_mode & 0777);
    if (fd < 0)
        return fail(problem, QStringLiteral("cannot write %1").arg(to));
    for (qsizetype written = 0; written < content.size();) {
        const ssize_t step = ::write(fd, content.constData() + written,
                                     static_cast<size_t>(content.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step < 0) {
            const int reason = errno;
            ::close(fd);
            errno = reason;
            return fail(problem, QStringLiteral("cannot write %1").arg(to));
        }
        written += step;
    }
    return ::close(fd) == 0 || fail(problem, QStringLiteral("cannot write %1").arg(to));
}

} // namespace

bool copy(const QString& from, const QString& to, QString& problem) {
    if (!QDir().mkpath(to))
        return fail(problem, QStringLiteral("cannot create %1").arg(to));
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        const bool copied = entry.isDir() ? copy(entry.filePath(), target, problem)
                                          : copyFile(entry.filePath(), target, problem);
        if (!copied)
            return false;
    }
    return true;
}

// Looks at each entry itself, never at what a link points to.
bool remove(const QString& path, QString& problem) {
    struct stat entry {};
    if (::lstat(encoded(path).constData(), &entry) != 0)
        return errno == ENOENT || fail(problem, QStringLiteral("cannot remove %1").arg(path));
    if (!S_ISDIR(entry.st_mode)) {
        return ::unlink(encoded(path).constData()) == 0 ||
               fail(problem, QStringLiteral("cannot remove %1").arg(path));
    }
    const QStringList names =
        QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!remove(path + QLatin1Char('/') + name, problem))
            return false;
    }
    return ::rmdir(encoded(path).constData()) == 0 ||
           fail(problem, QStringLiteral("cannot remove the folder %1").arg(path));
}

QString makeUnique(const QString& prefix, QString& problem) {
    QByteArray name = encoded(prefix + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(name.data())) {
        fail(problem, QStringLiteral("cannot create a folder beside %1").arg(prefix));
        return QString();
    }
    // mkdtemp makes the folder for its owner alone; setup's folders are shared as any other.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(name.constData(), 0777 & ~mask);
    return QFile::decodeName(name);
}

bool place(const QString& replacement, const QString& current, QString& problem) {
    if (!QFileInfo::exists(current))
        return ::rename(encoded(replacement).constData(), encoded(current).constData()) == 0 ||
               fail(problem, QStringLiteral("cannot rename %1 to %2").arg(replacement, current));
    if (::renameat2(AT_FDCWD, encoded(replacement).constData(), AT_FDCWD,
                    encoded(current).constData(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return fail(problem,
                    QStringLiteral("cannot put %1 in the place of %2").arg(replacement, current));
    // Without an exchange the old folder steps aside first; killed between
    // the two steps, it stays whole beside its place under a name of its own.
    const QString aside = makeUnique(current + QStringLiteral(".old-"), problem);
    if (aside.isEmpty())
        return false;
    if (::rename(encoded(current).constData(), encoded(aside).constData()) != 0)
        return fail(problem, QStringLiteral("cannot move %1 aside").arg(current));
    if (::rename(encoded(replacement).constData(), encoded(current).constData()) != 0) {
        fail(problem, QStringLiteral("cannot rename %1 to %2").arg(replacement, current));
        ::rename(encoded(aside).constData(), encoded(current).constData());
        return false;
    }
    return ::rename(encoded(aside).constData(), encoded(replacement).constData()) == 0 ||
           fail(problem, QStringLiteral("cannot rename %1 to %2").arg(aside, replacement));
}

} // namespace FolderTree
