// rm42-config: saves, checks and applies thermostat configurations over the
// Object Server, beside the plug-in, without a window.
#include "CommandLine.h"
#include "Subcommands.h"

#include <QCoreApplication>

namespace {

const Subcommand Subcommands[] = {
    {"show", "show   NETWORK DEVICE [--units US|SI] [--json] [--interface NAME]", runShow},
    {"save",
     "save   NETWORK (DEVICE [-o FILE] | --subsystem PATH -o DIR | --all -o DIR) [--units US|SI] "
     "[--interface NAME]",
     runSave},
    {"check", "check  FILE", runCheck},
    {"apply",
     "apply  NETWORK FILE (DEVICE... | --subsystem PATH | --all) [--dry-run] [--backup DIR] "
     "[--log FILE] [--include-location] [--interface NAME]",
     runApply},
    {"set", "set    NETWORK DEVICE FIELD=VALUE... [--units US|SI] [--dry-run] [--interface NAME]",
     runSet},
};

int usage(QTextStream& err) {
    err << "usage:\n";
    for (const Subcommand& subcommand : Subcommands)
        err << "  rm42-config " << subcommand.usage << '\n';
    err << "DEVICE is SUBSYSTEM/DEVICE or a device name; exit status 0 all done, 1 some device "
           "failed or was skipped, 2 usage error or a refused file\n";
    return ExitStatus::Refused;
}

} // namespace

int usageOf(const char* name, QTextStream& err) {
    for (const Subcommand& subcommand : Subcommands) {
        if (qstrcmp(subcommand.name, name) == 0)
            err << "usage: rm42-config " << subcommand.usage << '\n';
    }
    return ExitStatus::Refused;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList words = app.arguments().mid(1);
    if (words.isEmpty())
        return usage(err);
    for (const Subcommand& subcommand : Subcommands) {
        if (words.first() == QLatin1String(subcommand.name))
            return subcommand.run(words.mid(1), out, err);
    }
    err << "rm42-config: unknown subcommand \"" << words.first() << "\"\n";
    return usage(err);
}
