// SPDX-License-Identifier: Apache-2.0
// lns-host: stands in for the LNS host application.
#include "Subcommands.h"
#include "platform/StandardOptions.h"

#include <QCoreApplication>

namespace {

const Subcommand Subcommands[] = {
    {"setup", "setup [--force [--wait]]", runSetup},
    {"browse", "browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] [--units US|SI]", runBrowse},
    {"plugins", "plugins", runPlugins},
    {"run", "run PROGID SCRIPT|-", runRun},
    {"export", "export NETWORK [FILE]", runExport},
    {"import", "import NETWORK FILE", runImport},
};

QString usage() {
    QString text = QStringLiteral("usage:\n");
    for (const Subcommand& subcommand : Subcommands)
        text += QStringLiteral("  lns-host %1\n").arg(QLatin1String(subcommand.usage));
    return text;
}

const QString Help = usage() + QStringLiteral(
    "  lns-host SUBCOMMAND --help\n"
    "  lns-host --version\n"
    "\n"
    "The host of a simulated LonWorks platform: setup lays out the LonWorks folder,\n"
    "browse shows a network, export writes it as JSON, import adds a device maker's\n"
    "interface file to a network's template library, plugins lists the registered\n"
    "plug-ins and run drives one with a script of calls.\n"
    "\n"
    "Environment: LNS_PLATFORM_ROOT names the platform root\n"
    "(default ~/.local/share/lns-platform). See lns-host(1).\n");

int usageError(QTextStream& err) {
    err << usage();
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    if (const auto status = StandardOptions::answer(arguments, QStringLiteral("lns-host"), Help, out))
        return *status;
    if (arguments.isEmpty())
        return usageError(err);
    for (const Subcommand& subcommand : Subcommands) {
        if (arguments.first() != QLatin1String(subcommand.name))
            continue;
        if (arguments.mid(1) == QStringList{QStringLiteral("--help")}) {
            out << StandardOptions::wrappedText(
                QStringLiteral("usage: lns-host %1\nSee lns-host(1).\n%2")
                    .arg(QLatin1String(subcommand.usage), StandardOptions::reportProblems()));
            return 0;
        }
        return subcommand.run(arguments.mid(1), out, err);
    }
    err << "lns-host: unknown subcommand \"" << arguments.first() << "\"\n";
    return usageError(err);
}
