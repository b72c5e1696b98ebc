#include "host/DeviceFile.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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

QString searchFolder(const QString& folder, const QString& wanted, QSet<QString>& visited) {
    const QString native = Paths::toNative(folder);
    const QString canonical = QFileInfo(native).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return QString(); // unreadable, or reached again through a link
    visited.insert(canonical);
    const QDir dir(native);
    const QStringList xifFiles = dir.entryList(
        {QStringLiteral("*.xif")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : xifFiles) {
        if (ProgramIdOfFile(folder + QLatin1Char('\\') + name) == wanted)
            return folder + name;
    }
    QStringList subfolders;
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        if (!entry.fileName().startsWith(QLatin1Char('.')))
            subfolders << entry.fileName();
    }
    for (const QString& name : subfolders) {
        const QString found = searchFolder(folder + name + QLatin1Char('\\'), wanted, visited);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace

QString Search(const QString& folder, const QString& programId) {
    QSet<QString> visited;
    return searchFolder(folder, programId.toUpper(), visited);
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
