// lns-host: stands in for the LNS host application.
#include "Subcommands.h"

#include <QCoreApplication>
#include <iterator>

namespace {

const Subcommand Subcommands[] = {
    {"setup", "setup [--force]", runSetup},
    {"browse", "browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] [--units US|SI]", runBrowse},
    {"plugins", "plugins", runPlugins},
    {"run", "run PROGID SCRIPT|-", runRun},
    {"export", "export NETWORK [FILE]", runExport},
    {"import", "import NETWORK FILE", runImport},
};

int usage(QTextStream& err) {
    err << "usage:\n";
    for (const Subcommand& subcommand : Subcommands)
        err << "  lns-host " << subcommand.usage << '\n';
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty())
        return usage(err);
    for (const Subcommand& subcommand : Subcommands) {
        if (arguments.first() == QLatin1String(subcommand.name))
            return subcommand.run(arguments.mid(1), out, err);
    }
    err << "lns-host: unknown subcommand \"" << arguments.first() << "\"\n";
    return usage(err);
}
