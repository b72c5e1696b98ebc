// SPDX-License-Identifier: Apache-2.0
// lns-host setup [--force [--wait]]: lays the LonWorks folder out under the
// platform root from the kit, loads each network's description into its
// database, and records the folder as "LonWorks Path". One setup runs at a
// time; a new layout is built beside the folder and takes its place in one
// step, so the folder is whole at every moment, also when setup is killed.
// A folder is never replaced while a process has one of its networks open.
#include "FolderTree.h"
#include "LayoutCheck.h"
#include "Subcommands.h"
#include "objectserver/FileLock.h"
#include "objectserver/NetworkDatabase.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <optional>

namespace {

const QString StagingSuffix = QStringLiteral(".setup-");
const QString Usage = QStringLiteral("usage: lns-host setup [--force [--wait]]\n");

// The kit and the converter sit at fixed places relative to this program's
// folder, the same in the build tree and in an installation.
QString besideProgram(QLatin1StringView relative) {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative);
}

QString kitFolder() {
    const QString fromEnvironment = qEnvironmentVariable("LNS_KIT_DIR");
    return fromEnvironment.isEmpty() ? besideProgram(QLatin1StringView(RM42_KIT_FROM_BIN))
                                     : fromEnvironment;
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The converter runs where it is installed, so an upgrade reaches every
// folder laid out; a file system without links gets a copy.
bool installConverter(const QString& converter, const QString& bin, QString& problem) {
    if (!QDir().mkpath(bin)) {
        problem = QStringLiteral("cannot create %1: %2").arg(bin, systemReason());
        return false;
    }
    const QString installed = bin + QStringLiteral("/XIF32BIN");
    QFile program(converter);
    if (QFile::link(converter, installed) || program.copy(installed))
        return true;
    problem =
        QStringLiteral("cannot install %1 in %2: %3").arg(converter, bin, program.errorString());
    return false;
}

// A description that cannot be loaded is refused with its name in the kit and the field.
bool loadNetworks(const QString& databases, const QString& kitDatabases, QString& problem) {
    const auto server = std::make_shared<lns::sim::SimServerState>();
    for (const QString& name : QDir(databases).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = databases + QLatin1Char('/') + name;
        if (!lns::sim::NetworkDatabase::existsIn(folder))
            continue;
        try {
            const auto database = std::make_shared<lns::sim::NetworkDatabase>(server, name, folder);
            database->open();
            database->close();
        } catch (const Error& error) {
            problem = QString(error.description()).replace(databases, kitDatabases);
            return false;
        }
    }
    return true;
}

// Where the layout goes: the LonWorks entry of the platform root, or the
// folder a link there points to (a folder moved to another disk keeps its
// link). A link to anything else is refused.
std::optional<QString> layoutFolder(const QString& entry, QString& problem) {
    const QFileInfo info(entry);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty() && QFileInfo(target).isDir())
            return target;
        problem = QStringLiteral("%1 is a symbolic link to %2, which is not a folder")
                      .arg(entry, info.symLinkTarget());
        return std::nullopt;
    }
    if (info.exists() && !info.isDir()) {
        problem = QStringLiteral("%1 is not a folder").arg(entry);
        return std::nullopt;
    }
    return entry;
}

// The staging folders of setups that were killed; only this one works now.
void removeLeftovers(const QString& folder) {
    const QFileInfo info(folder);
    const QString prefix = info.fileName() + StagingSuffix;
    const QDir parent = info.dir();
    for (const QString& name :
         parent.entryList(QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QString ignored;
        if (name.startsWith(prefix) && name.size() == prefix.size() + 6)
            FolderTree::remove(parent.filePath(name), ignored);
    }
}

// Builds the whole layout beside the folder, then puts it in the folder's
// place; the old folder is removed only then. A failure leaves the folder as
// it was.
bool layOut(const QString& kit, const QString& converter, const QString& folder, QTextStream& err,
            QString& problem) {
    const QString staging = FolderTree::makeUnique(folder + StagingSuffix, problem);
    if (staging.isEmpty())
        return false;
    QString ignored;
    const bool built = FolderTree::copy(kit, staging, problem) &&
                       installConverter(converter, staging + QStringLiteral("/bin"), problem) &&
                       loadNetworks(staging + QStringLiteral("/Databases"),
                                    kit + QStringLiteral("/Databases"), problem);
    if (!built || !FolderTree::place(staging, folder, problem)) {
        FolderTree::remove(staging, ignored);
        return false;
    }
    QString leftover;
    if (!FolderTree::remove(staging, leftover))
        err << "lns-host setup: the old folder stays at " << staging << ": " << leftover << '\n';
    return true;
}

// Held until the new folder is in place, so that no process opens a network
// of the old one meanwhile (they wait and then open the new one).
std::optional<lns::sim::FileLock> folderOfNobody(const QString& entry, bool wait,
                                                 QTextStream& err) {
    using lns::sim::FileLock;
    const QString file = lns::sim::inUseFileOf(entry);
    FileLock lock(file, FileLock::Kind::Exclusive, FileLock::Wait::No);
    if (!lock.held() && lock.problem().isEmpty() && wait) {
        err << "lns-host setup: a network of " << entry
            << " is in use; waiting until every program that has one open ends or closes it\n";
        err.flush();
        lock = FileLock(file, FileLock::Kind::Exclusive, FileLock::Wait::Yes);
    }
    if (lock.held())
        return lock;
    if (lock.problem().isEmpty())
        err << "lns-host setup: a network of " << entry
            << " is in use by another program (the host, a plug-in or rm42-config); "
               "end it or close its network first, or wait for it with --force --wait\n";
    else
        err << "lns-host setup: " << lock.problem() << '\n';
    return std::nullopt;
}

} // namespace

int runSetup(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const bool force = arguments.contains(QStringLiteral("--force"));
    const bool wait = arguments.contains(QStringLiteral("--wait"));
    if (arguments.size() != int(force) + int(wait) || (wait && !force)) {
        err << Usage;
        return 2;
    }
    const QString kit = kitFolder();
    const QString converter = besideProgram(QLatin1StringView(RM42_CONVERTER_FROM_BIN));
    const QString entry = PlatformRoot::defaultLonWorksFolder();
    if (!QFileInfo(kit).isDir() || !QFileInfo::exists(converter)) {
        err << "lns-host setup: the kit " << kit << " or the converter " << converter
            << " is missing\n";
        return 1;
    }
    if (!QDir().mkpath(PlatformRoot::folder())) {
        err << "lns-host setup: cannot create " << PlatformRoot::folder() << ": " << systemReason()
            << '\n';
        return 1;
    }
    const lns::sim::FileLock lock(entry + QStringLiteral(".lock"),
                                  lns::sim::FileLock::Kind::Exclusive,
                                  lns::sim::FileLock::Wait::Yes);
    QString problem;
    const std::optional<QString> folder = lock.held() ? layoutFolder(entry, problem) : std::nullopt;
    if (!folder) {
        err << "lns-host setup: " << (problem.isEmpty() ? lock.problem() : problem) << '\n';
        return 1;
    }
    removeLeftovers(*folder);
    if (QFileInfo::exists(*folder) && !force) {
        const QStringList missing = missingFromLayout(kit, *folder);
        if (!missing.isEmpty()) {
            err << "lns-host setup: the LonWorks folder " << entry << " lacks \""
                << missing.join(QStringLiteral("\", \"")) << "\" (--force lays it out anew from "
                << "the kit, without the changes made to its networks)\n";
            return 1;
        }
        out << "The LonWorks folder " << entry << " exists; left as it is (--force replaces it)\n";
    } else {
        std::optional<lns::sim::FileLock> inUse;
        if (QFileInfo::exists(*folder) && !(inUse = folderOfNobody(entry, wait, err)))
            return 1;
        if (!layOut(kit, converter, *folder, err, problem)) {
            err << "lns-host setup: " << problem << '\n';
            return 1;
        }
        out << "Laid out the LonWorks folder " << entry << '\n';
    }
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        store.setValue(Hive::LocalMachine, QStringLiteral("SOFTWARE\\LonWorks"),
                       RegistryValue::string(QStringLiteral("LonWorks Path"), entry));
    } catch (const Error& error) {
        err << "lns-host setup: " << error.description() << '\n';
        return 1;
    }
    out << "HKLM\\SOFTWARE\\LonWorks \"LonWorks Path\" = " << entry << '\n';
    return 0;
}
