// rm42-config apply NETWORK FILE (DEVICE... | --subsystem PATH | --all): the
// file is checked first, then written to each device in turn.
#include "CheckedFile.h"
#include "CommandLine.h"
#include "DeviceReport.h"
#include "Subcommands.h"
#include "platform/Error.h"

#include <QDir>

namespace {

std::vector<DeviceTarget> targetsOf(const ThermostatNetwork& network, const CommandLine& line) {
    if (line.has(QStringLiteral("--all")))
        return network.allThermostats();
    if (line.values.contains(QStringLiteral("--subsystem")))
        return network.subsystemThermostats(line.value(QStringLiteral("--subsystem")));
    std::vector<DeviceTarget> targets;
    for (const QString& name : line.positional.mid(2))
        targets.push_back(network.device(name));
    return targets;
}

// Every target gets its turn, whatever happened to the one before.
int applyToEach(DeviceConfiguration& configuration, const std::vector<DeviceTarget>& targets,
                bool dryRun, QTextStream& out, QTextStream& err) {
    DeviceReport report(out, err, static_cast<int>(targets.size()), dryRun);
    for (size_t i = 0; i < targets.size(); ++i) {
        report.starting(static_cast<int>(i), targets[i].path);
        report.report(configuration.applyTo(targets[i]));
    }
    return report.finish();
}

} // namespace

int runApply(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words,
                         {QStringLiteral("--subsystem"), QStringLiteral("--backup"),
                          QStringLiteral("--log"), QStringLiteral("--interface")},
                         {QStringLiteral("--all"), QStringLiteral("--dry-run"),
                          QStringLiteral("--include-location")},
                         err);
    if (!line || line->positional.size() < 2)
        return usageOf("apply", err);
    const bool oneChoice = (line->positional.size() > 2) + line->has(QStringLiteral("--all")) +
                               line->values.contains(QStringLiteral("--subsystem")) ==
                           1;
    if (!oneChoice)
        return usageOf("apply", err);
    const std::optional<ConfigurationFile> file = validatedFile(line->positional[1], err);
    if (!file)
        return ExitStatus::Refused;
    const ApplyOptions options{line->has(QStringLiteral("--dry-run")),
                               line->value(QStringLiteral("--backup")),
                               line->has(QStringLiteral("--include-location"))};
    if (!options.backupFolder.isEmpty() && !options.dryRun &&
        !QDir().mkpath(options.backupFolder)) {
        err << "rm42-config: the backup folder " << options.backupFolder << " cannot be made\n";
        return ExitStatus::Refused;
    }
    int status = ExitStatus::Done;
    ActivityLogLines log;
    try {
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        const std::vector<DeviceTarget> targets = targetsOf(network, *line);
        DeviceConfiguration configuration(*file, options, network.name(), network.system(), log);
        status = applyToEach(configuration, targets, options.dryRun, out, err);
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
        return ExitStatus::Refused;
    }
    if (line->values.contains(QStringLiteral("--log"))) {
        try {
            log.save(line->value(QStringLiteral("--log")));
        } catch (const Error& error) {
            err << "rm42-config: the log " << line->value(QStringLiteral("--log"))
                << " cannot be written: " << error.description() << '\n';
            status = std::max(status, static_cast<int>(ExitStatus::SomeDeviceFailed));
        }
    }
    return status;
}
