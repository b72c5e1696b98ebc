// lns-host setup [--force]: lays the LonWorks folder out under the platform
// root from the kit and records it as "LonWorks Path".
#include "Subcommands.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"
#include "support/CRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

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

bool copyTree(const QString& from, const QString& to, QString& problem) {
    if (!QDir().mkpath(to)) {
        problem = QStringLiteral("cannot create %1").arg(to);
        return false;
    }
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!copyTree(entry.filePath(), target, problem))
                return false;
        } else if (!QFile::copy(entry.filePath(), target)) {
            problem = QStringLiteral("cannot copy %1 to %2").arg(entry.filePath(), target);
            return false;
        }
    }
    return true;
}

// Builds the whole layout beside the target first, so a failure leaves the
// existing folder as it was.
bool layOut(const QString& kit, const QString& converter, const QString& target, QString& problem) {
    const QString staging = target + QStringLiteral(".setup");
    QDir(staging).removeRecursively();
    const bool built = copyTree(kit, staging, problem) &&
                       QDir().mkpath(staging + QStringLiteral("/bin")) &&
                       QFile::copy(converter, staging + QStringLiteral("/bin/XIF32BIN"));
    if (!built) {
        if (problem.isEmpty())
            problem = QStringLiteral("cannot install %1 in %2/bin").arg(converter, staging);
        QDir(staging).removeRecursively();
        return false;
    }
    if (QFileInfo::exists(target) && !QDir(target).removeRecursively()) {
        problem = QStringLiteral("cannot remove the old folder %1").arg(target);
        return false;
    }
    if (!QDir().rename(staging, target)) {
        problem = QStringLiteral("cannot rename %1 to %2").arg(staging, target);
        return false;
    }
    return true;
}

} // namespace

int runSetup(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const bool force = arguments == QStringList{QStringLiteral("--force")};
    if (!arguments.isEmpty() && !force) {
        err << "usage: lns-host setup [--force]\n";
        return 2;
    }
    const QString kit = kitFolder();
    const QString converter = besideProgram(QLatin1StringView(RM42_CONVERTER_FROM_BIN));
    const QString target = PlatformRoot::defaultLonWorksFolder();
    if (!QFileInfo(kit).isDir() || !QFileInfo::exists(converter)) {
        err << "lns-host setup: the kit " << kit << " or the converter " << converter
            << " is missing\n";
        return 1;
    }
    if (QFileInfo::exists(target) && !force) {
        out << "The LonWorks folder " << target << " exists; left as it is (--force replaces it)\n";
    } else {
        QString problem;
        if (!layOut(kit, converter, target, problem)) {
            err << "lns-host setup: " << problem << '\n';
            return 1;
        }
        out << "Laid out the LonWorks folder " << target << '\n';
    }
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        CRegistry registry(store);
        registry.MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                QStringLiteral("LonWorks Path"), target);
        if (registry.ErrorNumber() != 0) {
            err << "lns-host setup: cannot write \"LonWorks Path\" to " << store.file() << '\n';
            return 1;
        }
    } catch (const Error& error) {
        err << "lns-host setup: " << error.description() << '\n';
        return 1;
    }
    out << "HKLM\\SOFTWARE\\LonWorks \"LonWorks Path\" = " << target << '\n';
    return 0;
}
