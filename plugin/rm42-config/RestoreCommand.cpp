// SPDX-License-Identifier: Apache-2.0
// rm42-config restore NETWORK DIR: every file of a site folder written back
// to the device it was saved from. The manifest and every file are checked
// before the first device is written.
#include "CheckedFile.h"
#include "CommandLine.h"
#include "DeviceRun.h"
#include "EchoedText.h"
#include "FieldSelection.h"
#include "InputFile.h"
#include "OutputFiles.h"
#include "SiteManifest.h"
#include "Subcommands.h"

#include <QDir>

namespace {

struct SavedDevice {
    QString device;
    ConfigurationFile file;
};

// The manifest's entries, or those of the devices named after --only.
std::vector<ManifestEntry> chosenEntries(const SiteManifest& manifest, const QStringList& only) {
    if (only.isEmpty())
        return manifest.devices;
    std::vector<ManifestEntry> chosen;
    for (const QString& name : only) {
        const auto found = std::find_if(
            manifest.devices.begin(), manifest.devices.end(), [&](const ManifestEntry& entry) {
                return entry.device == name || entry.device.section(u'/', -1) == name;
            });
        if (found == manifest.devices.end())
            throw FileProblem(
                QStringLiteral("--only: no device \"%1\" in the manifest").arg(echoed(name)));
        chosen.push_back(*found);
    }
    return chosen;
}

// Every chosen file as its checksum says it was saved, read and checked.
std::optional<std::vector<SavedDevice>> checkedDevices(const QString& folder,
                                                       const std::vector<ManifestEntry>& entries,
                                                       const CommandLine& line, QTextStream& err) {
    std::vector<SavedDevice> devices;
    bool refused = false;
    for (const ManifestEntry& entry : entries) {
        const QString path = QDir(folder).filePath(entry.file);
        const QByteArray contents = readInputFile(path);
        if (sha256Of(contents) != entry.sha256) {
            err << "rm42-config: " << echoed(path) << ": the file is not the one saved for "
                << echoed(entry.device) << " (its checksum differs from the manifest's)\n";
            refused = true;
            continue;
        }
        std::optional<ConfigurationFile> file = validatedContents(path, contents, err);
        if (file && line.values.contains(QStringLiteral("--fields")) &&
            !keepOnlyFields(*file, line.value(QStringLiteral("--fields")), err))
            file.reset();
        if (!file)
            refused = true;
        else
            devices.push_back({entry.device, *file});
    }
    if (refused)
        return std::nullopt;
    return devices;
}

// A device of the manifest that is no longer in the network fails alone.
DeviceTarget targetOf(const ThermostatNetwork& network, const QString& device) {
    try {
        return network.device(device);
    } catch (const InputProblem& problem) {
        return {device, nullptr, problem.message(), QString(), QString()};
    }
}

} // namespace

int runRestore(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line = parseCommandLine(
        words,
        {QStringLiteral("--interface"), QStringLiteral("--fields"), QStringLiteral("--log"),
         QStringLiteral("--jobs")},
        {QStringLiteral("--dry-run"), QStringLiteral("--only"), QStringLiteral("--json")}, err);
    if (!line || line->positional.size() < 2 ||
        (line->positional.size() > 2) != line->has(QStringLiteral("--only")))
        return usageOf("restore", err);
    const std::optional<int> jobs = jobsOption(*line, err);
    if (!jobs)
        return ExitStatus::Refused;
    const QString folder = line->positional[1];
    const bool dryRun = line->has(QStringLiteral("--dry-run"));
    try {
        const SiteManifest manifest = readManifest(folder);
        const std::optional<std::vector<SavedDevice>> devices =
            checkedDevices(folder, chosenEntries(manifest, line->positional.mid(2)), *line, err);
        if (!devices)
            return ExitStatus::Refused;
        if (line->values.contains(QStringLiteral("--log")))
            checkOutputFile(line->value(QStringLiteral("--log")));
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        std::vector<DeviceTarget> targets;
        for (const SavedDevice& device : *devices)
            targets.push_back(targetOf(network, device.device));
        std::optional<JsonResults> json = jsonResults(*line, QStringLiteral("restore"), network);
        DeviceReport report(out, err, static_cast<int>(targets.size()), dryRun,
                            json ? &*json : nullptr);
        DeviceRun run(report, line->value(QStringLiteral("--log")), err);
        run.run(network, *jobs, targets, [&](const DeviceJob& job, ActivityLogLines& log) {
            // Everything the device held goes back, its location too.
            DeviceConfiguration configuration((*devices)[job.position].file, {dryRun, {}, true},
                                              job.network.name(), job.network.system(), log);
            return configuration.applyTo(job.target);
        });
        const int status = run.finish();
        if (json)
            json->print(out);
        return status;
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
