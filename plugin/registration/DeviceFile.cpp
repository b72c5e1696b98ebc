// SPDX-License-Identifier: Apache-2.0
#include "registration/DeviceFile.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cstdlib>
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

// The system's own trees: what they hold is made up by the kernel or belongs
// to running programs, and some of it never ends.
bool isSystemTree(const QByteArray& nativeFolder) {
    for (const char* tree : {"/proc", "/sys", "/dev", "/run"}) {
        if (nativeFolder == tree || nativeFolder.startsWith(QByteArray(tree) + '/'))
            return true;
    }
    return false;
}

// One listing of a folder, sorted as the platform lists it (without regard to
// case). Sub-folders are entries whose own type says so: a link is never
// taken for a folder, and an entry that cannot be asked is not one.
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
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::lstat((nativeFolder + '/' + entry->d_name).constData(), &info) == 0 &&
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

class FolderSearch {
public:
    FolderSearch(const QString& wanted, const SearchBounds& bounds)
        : m_wanted(wanted), m_bounds(bounds),
          m_deadline(std::chrono::steady_clock::now() + bounds.timeLimit) {}

    // `folder` in the system's form (ending in "\"), `nativeFolder` the same
    // folder here, without links in it.
    QString search(const QString& folder, const QByteArray& nativeFolder, int depth) {
        if (isSystemTree(nativeFolder))
            return QString();
        if (std::chrono::steady_clock::now() >= m_deadline) {
            m_outOfTime = true;
            return QString();
        }
        const FolderEntries entries = listFolder(nativeFolder);
        for (const QString& name : entries.xifFiles) {
            if (ProgramIdOfFile(folder + QLatin1Char('\\') + name) == m_wanted)
                return folder + name;
        }
        if (depth >= m_bounds.maxDepth) {
            m_tooDeep = m_tooDeep || !entries.subfolders.isEmpty();
            return QString();
        }
        for (const QString& name : entries.subfolders) {
            const QByteArray child =
                (nativeFolder == "/" ? QByteArray() : nativeFolder) + '/' + QFile::encodeName(name);
            const QString found = search(folder + name + QLatin1Char('\\'), child, depth + 1);
            if (!found.isEmpty() || m_outOfTime)
                return found;
        }
        return QString();
    }

    bool cutShort() const { return m_outOfTime || m_tooDeep; }

private:
    QString m_wanted;
    SearchBounds m_bounds;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_outOfTime = false; // ends the whole search
    bool m_tooDeep = false;   // only deeper folders were left out
};

// The folder with the links in it resolved, so that the system's trees are
// known by their own names; empty when it does not exist.
QByteArray resolvedFolder(const QString& folder) {
    const QByteArray native = QFile::encodeName(Paths::toNative(folder));
    char* resolved = ::realpath(native.constData(), nullptr);
    if (!resolved)
        return QByteArray();
    QByteArray result(resolved);
    ::free(resolved);
    return result;
}

} // namespace

SearchResult Search(const QString& folder, const QString& programId, const SearchBounds& bounds) {
    const QByteArray native = resolvedFolder(folder);
    if (native.isEmpty())
        return {};
    FolderSearch search(programId.toUpper(), bounds);
    const QString found = search.search(folder, native, 0);
    return {found, found.isEmpty() && search.cutShort()};
}

namespace {

bool isInside(const QString& path, const QString& folder) {
    const QString file = QFileInfo(Paths::toNative(path)).canonicalFilePath();
    const QString inside = QFileInfo(Paths::toNative(folder)).canonicalFilePath();
    return !file.isEmpty() && !inside.isEmpty() && file.startsWith(inside + QLatin1Char('/'));
}

// The file itself when it lies in the import folder (or no import folder is
// named); else a copy of it in the import folder, or empty when none can be made.
QString inImportFolder(const QString& path, const QString& importFolder) {
    if (importFolder.isEmpty() || isInside(path, importFolder))
        return path;
    const QString programId = ProgramIdOfFile(path).trimmed();
    // A chosen file comes in this system's form, a found one in the system's.
    const QString name = QFileInfo(Paths::toNative(path)).fileName();
    const QString folder = importFolder + QLatin1Char('\\') +
                           (programId.isEmpty() ? QStringLiteral("Found") : programId);
    const QString copy = folder + QLatin1Char('\\') + name;
    const QString nativeCopy = Paths::toNative(copy);
    if (!QDir().mkpath(Paths::toNative(folder)))
        return QString();
    // An earlier copy, and its binary form, give way to the file found now.
    QFile::remove(nativeCopy);
    QFile::remove(Paths::toNative(copy.left(copy.size() - 3) + QStringLiteral("XFB")));
    return QFile::copy(Paths::toNative(path), nativeCopy) ? copy : QString();
}

} // namespace

QString Convert(const QString& found, const Converter& converter) {
    if (!QFileInfo::exists(Paths::toNative(found)))
        return found;
    QString result = inImportFolder(found, converter.importFolder);
    const QString base = result.isEmpty() ? found : result;
    const QString xfbPath = base.left(base.size() - 3) + QStringLiteral("XFB");
    auto xfbExists = [&] { return QFileInfo::exists(Paths::toNative(xfbPath)); };
    if (!result.isEmpty() && !xfbExists()) {
        const QString program =
            Paths::toNative(converter.lonWorksFolder + QStringLiteral("\\bin\\XIF32BIN"));
        try {
            const auto process = converter.launcher.start(
                program, {Paths::toNative(result), Paths::toNative(xfbPath)});
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
        converter.dialogs.message({QStringLiteral("The file ") + Paths::toNative(xfbPath) +
                                       QStringLiteral(" could not be found."),
                                   QStringLiteral("Cannot Export Database"), DialogButtons::Ok,
                                   DialogIcon::Critical, 0});
        return QString();
    }
    return result;
}

} // namespace DeviceFile
