// SPDX-License-Identifier: Apache-2.0
#include "registration/DeviceFile.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace DeviceFile {

namespace {

constexpr int ProgramIdGroups = 8;
constexpr qint64 ReadLimit = 64 * 1024; // the header lines are all we need
constexpr int ConverterWaitIterations = 1000;

// Line 4, or line 5 when line 4 is blank; empty when the file has neither.
QString programIdLine(const QString& path) {
    QFile file(Paths::toNative(path));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray head = file.read(ReadLimit);
    if (head.contains('\0'))
        return QString(); // not a text file
    const QStringList lines = QString::fromLatin1(head).split(QLatin1Char('\n'));
    if (lines.size() < 4)
        return QString();
    QString line = lines.at(3);
    if (line.trimmed().isEmpty())
        line = lines.value(4);
    return line;
}

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
}

bool isHexPair(const QString& group) {
    return group.size() == 2 && isHexDigit(group.at(0)) && isHexDigit(group.at(1));
}

} // namespace

QString ProgramIdOfFile(const QString& path) {
    if (path.right(4).toUpper() != QLatin1String(".XIF"))
        return QString();
    const QString line = programIdLine(path);
    QStringList groups;
    for (int group = 0; group < ProgramIdGroups; ++group) {
        const QString text = line.mid(group * 3, 2);
        if (!isHexPair(text))
            return QString(); // a malformed program-ID line
        groups << text;
    }
    if (line.at(0) >= QLatin1Char('8'))
        return groups.join(QString());
    // A text program ID: the groups are character codes, "00" a blank.
    QString text;
    for (const QString& group : groups)
        text += group == QLatin1String("00")
                    ? QChar(u' ')
                    : QChar(static_cast<char16_t>(group.toUInt(nullptr, 16)));
    return text + QString(8, QLatin1Char(' '));
}

namespace {

struct FolderEntries {
    QStringList xifFiles;
    QStringList subfolders;
};

// One listing of a folder, sorted as the platform lists it (without regard to
// case). Sub-folders are entries whose type says so; a link or an entry of
// unknown type is asked, and one that cannot be asked is not a folder.
FolderEntries listFolder(const QByteArray& nativeFolder) {
    FolderEntries entries;
    DIR* dir = ::opendir(nativeFolder.constData());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name.startsWith(QLatin1Char('.')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::stat((nativeFolder + '/' + entry->d_name).constData(), &info) == 0 &&
                       S_ISDIR(info.st_mode);
        }
        if (isFolder)
            entries.subfolders << name;
        else if (name.endsWith(QLatin1String(".xif"), Qt::CaseInsensitive))
            entries.xifFiles << name;
    }
    ::closedir(dir);
    const auto byName = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    };
    std::sort(entries.xifFiles.begin(), entries.xifFiles.end(), byName);
    std::sort(entries.subfolders.begin(), entries.subfolders.end(), byName);
    return entries;
}

// `folder` in the system's form (ending in "\"), `nativeFolder` the same folder here.
QString searchFolder(const QString& folder, const QByteArray& nativeFolder, const QString& wanted,
                     QSet<std::pair<dev_t, ino_t>>& visited) {
    struct stat info {};
    if (::stat(nativeFolder.constData(), &info) != 0 ||
        visited.contains({info.st_dev, info.st_ino}))
        return QString(); // unreadable, or reached again through a link
    visited.insert({info.st_dev, info.st_ino});
    const FolderEntries entries = listFolder(nativeFolder);
    for (const QString& name : entries.xifFiles) {
        if (ProgramIdOfFile(folder + QLatin1Char('\\') + name) == wanted)
            return folder + name;
    }
    for (const QString& name : entries.subfolders) {
        const QString found =
            searchFolder(folder + name + QLatin1Char('\\'),
                         nativeFolder + '/' + QFile::encodeName(name), wanted, visited);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace

QString Search(const QString& folder, const QString& programId) {
    QSet<std::pair<dev_t, ino_t>> visited;
    QByteArray native = QFile::encodeName(Paths::toNative(folder));
    while (native.size() > 1 && native.endsWith('/'))
        native.chop(1);
    return searchFolder(folder, native, programId.toUpper(), visited);
}

QString Convert(const QString& path, const Converter& converter) {
    if (!QFileInfo::exists(Paths::toNative(path)))
        return path;
    QString result = path;
    const QString xfbPath = path.left(path.size() - 3) + QStringLiteral("XFB");
    auto xfbExists = [&] { return QFileInfo::exists(Paths::toNative(xfbPath)); };
    if (!xfbExists()) {
        const QString program =
            Paths::toNative(converter.lonWorksFolder + QStringLiteral("\\bin\\XIF32BIN"));
        try {
            const auto process = converter.launcher.start(
                program, {Paths::toNative(path), Paths::toNative(xfbPath)});
            while (process->isRunning())
                converter.processEvents();
        } catch (const Error&) {
            result.clear();
        }
        for (int iteration = 0;
             !result.isEmpty() && !xfbExists() && iteration < ConverterWaitIterations; ++iteration)
            converter.processEvents();
    }
    if (result.isEmpty() || !xfbExists()) {
        converter.dialogs.message(
            {QStringLiteral("The file ") + xfbPath + QStringLiteral(" could not be found."),
             QStringLiteral("Cannot Export Database"), DialogButtons::Ok, DialogIcon::Critical, 0});
        return QString();
    }
    return result;
}

} // namespace DeviceFile
