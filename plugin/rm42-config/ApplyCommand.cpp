// SPDX-License-Identifier: Apache-2.0
// rm42-config apply NETWORK FILE (DEVICE... | --subsystem PATH | --all): the
// file and every path are checked first, then the file is written to each
// device, several at once.
#include "BackupFolder.h"
#include "CheckedFile.h"
#include "CommandLine.h"
#include "DeviceRun.h"
#include "EchoedText.h"
#include "FieldSelection.h"
#include "OutputFiles.h"
#include "Subcommands.h"

#include <QFileInfo>

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

// Without its manifest the backup folder keeps the journal, which restore
// reads too; the run still says so.
int finishedManifest(BackupFolder& backup, QTextStream& err) {
    try {
        backup.finish();
        return ExitStatus::Done;
    } catch (const FileProblem& problem) {
        err << "rm42-config: the backups' manifest cannot be written: " << problem.message()
            << '\n';
        return ExitStatus::SomeDeviceFailed;
    }
}

// The log and the backup folder can be written: checked before any device is.
void checkOutputs(const CommandLine& line) {
    if (line.values.contains(QStringLiteral("--log")))
        checkOutputFile(line.value(QStringLiteral("--log")));
    if (line.values.contains(QStringLiteral("--backup")))
        checkOutputFolder(line.value(QStringLiteral("--backup")));
}

std::optional<ConfigurationFile> fileToApply(const CommandLine& line, QTextStream& err) {
    const QString path = line.positional[1];
    if (QFileInfo(path).isDir()) {
        err << "rm42-config: " << echoed(path)
            << " is a folder: a site saved with save --all is put back with rm42-config restore "
               "NETWORK DIR\n";
        return std::nullopt;
    }
    std::optional<ConfigurationFile> file = validatedFile(path, err);
    if (file && line.values.contains(QStringLiteral("--only")) &&
        !keepOnlyFields(*file, line.value(QStringLiteral("--only")), err))
        return std::nullopt;
    return file;
}

} // namespace

int runApply(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line = parseCommandLine(
        words,
        {QStringLiteral("--subsystem"), QStringLiteral("--backup"), QStringLiteral("--log"),
         QStringLiteral("--interface"), QStringLiteral("--only"), QStringLiteral("--jobs")},
        {QStringLiteral("--all"), QStringLiteral("--dry-run"), QStringLiteral("--include-location"),
         QStringLiteral("--json")},
        err);
    if (!line || line->positional.size() < 2)
        return usageOf("apply", err);
    const bool oneChoice = (line->positional.size() > 2) + line->has(QStringLiteral("--all")) +
                               line->values.contains(QStringLiteral("--subsystem")) ==
                           1;
    if (!oneChoice)
        return usageOf("apply", err);
    const std::optional<int> jobs = jobsOption(*line, err);
    if (!jobs)
        return ExitStatus::Refused;
    const std::optional<ConfigurationFile> file = fileToApply(*line, err);
    if (!file)
        return ExitStatus::Refused;
    const bool dryRun = line->has(QStringLiteral("--dry-run"));
    try {
        checkOutputs(*line);
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        const std::vector<DeviceTarget> targets = targetsOf(network, *line);
        std::optional<BackupFolder> backup;
        if (line->values.contains(QStringLiteral("--backup")) && !dryRun)
            backup.emplace(line->value(QStringLiteral("--backup")), network.name());
        const bool includeLocation = line->has(QStringLiteral("--include-location"));
        std::optional<JsonResults> json = jsonResults(*line, QStringLiteral("apply"), network);
        DeviceReport report(out, err, static_cast<int>(targets.size()), dryRun,
                            json ? &*json : nullptr);
        DeviceRun run(report, line->value(QStringLiteral("--log")), err);
        run.run(network, *jobs, targets, [&](const DeviceJob& job, ActivityLogLines& log) {
            ApplyOptions options{dryRun, {}, includeLocation};
            // The backups go into the folder and its manifest in the devices' order.
            if (backup)
                options.backUp = [&](const ConfigurationFile& before) {
                    job.inTurn([&] { backup->save(before); });
                };
            DeviceConfiguration configuration(*file, options, job.network.name(),
                                              job.network.system(), log);
            return configuration.applyTo(job.target);
        });
        int status = run.finish();
        const QString backups = backup ? backup->folder() : QString();
        if (!backups.isEmpty())
            status = std::max(status, finishedManifest(*backup, err));
        if (json) {
            if (!backups.isEmpty())
                json->set(QStringLiteral("backupFolder"), backups);
            json->print(out);
        } else if (!backups.isEmpty()) {
            out << "backups before the changes: " << backups << '\n';
        }
        return status;
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
