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
#include "SiteFile.h"
#include "SiteManifest.h"
#include "Subcommands.h"

#include <QDir>
#include <QMap>

namespace {

// An entry of the manifest with its place in the list, by which it is named.
struct ChosenEntry {
    int number;
    ManifestEntry entry;
};

struct SavedDevice {
    ChosenEntry chosen;
    ConfigurationFile file;
};

QString named(const ChosenEntry& chosen) {
    return QStringLiteral("device %1 (\"%2\", file \"%3\")")
        .arg(chosen.number)
        .arg(echoed(chosen.entry.device), echoed(chosen.entry.file));
}

// The manifest's entries, or those of the devices named after --only.
std::vector<ChosenEntry> chosenEntries(const SiteManifest& manifest, const QStringList& only) {
    std::vector<ChosenEntry> all;
    for (size_t i = 0; i < manifest.devices.size(); ++i)
        all.push_back({int(i) + 1, manifest.devices[i]});
    if (only.isEmpty())
        return all;
    std::vector<ChosenEntry> chosen;
    for (const QString& name : only) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const ChosenEntry& chosen) {
            return chosen.entry.device == name || chosen.entry.device.section(u'/', -1) == name;
        });
        if (found == all.end())
            throw FileProblem(
                QStringLiteral("--only: no device \"%1\" in the manifest").arg(echoed(name)));
        chosen.push_back(*found);
    }
    return chosen;
}

// What the manifest says of a device and what its file says must agree.
QStringList contradictions(const ManifestEntry& entry, const ConfigurationFile& file) {
    QStringList found;
    // A device may be named by its name alone where one subsystem holds it.
    if (!file.device.isEmpty() && file.device != entry.device &&
        file.device.section(u'/', -1) != entry.device)
        found << QStringLiteral("the file was saved from \"%1\"").arg(echoed(file.device));
    if (file.model != entry.model)
        found << QStringLiteral("the file is of model %1, the manifest says %2")
                     .arg(file.model)
                     .arg(entry.model);
    if (file.hvacType != entry.hvacType)
        found << QStringLiteral("the file is of HVAC type %1, the manifest says %2")
                     .arg(file.hvacType, echoed(entry.hvacType));
    return found;
}

// Every chosen file as its checksum says it was saved, read and checked.
std::optional<std::vector<SavedDevice>> checkedDevices(const QString& folder,
                                                       const std::vector<ChosenEntry>& entries,
                                                       const CommandLine& line, QTextStream& err) {
    std::vector<SavedDevice> devices;
    bool refused = false;
    for (const ChosenEntry& chosen : entries) {
        const ManifestEntry& entry = chosen.entry;
        const QString path = siteFilePath(folder, entry.file);
        const QByteArray contents = readInputFile(path);
        if (sha256Of(contents) != entry.sha256) {
            err << "rm42-config: " << echoed(path) << ": the file is not the one saved for "
                << echoed(entry.device) << " (its checksum differs from the manifest's)\n";
            refused = true;
            continue;
        }
        std::optional<ConfigurationFile> file = validatedContents(path, contents, err);
        if (file && !contradictions(entry, *file).isEmpty()) {
            err << "rm42-config: " << echoed(path) << ": the manifest's " << named(chosen)
                << " contradicts its file: "
                << contradictions(entry, *file).join(QStringLiteral("; ")) << '\n';
            file.reset();
        }
        if (file && line.values.contains(QStringLiteral("--fields")) &&
            !keepOnlyFields(*file, line.value(QStringLiteral("--fields")), err))
            file.reset();
        if (!file)
            refused = true;
        else
            devices.push_back({chosen, *file});
    }
    if (refused)
        return std::nullopt;
    return devices;
}

// A site goes back into the network it was saved from unless the user says
// otherwise: another network may hold devices of the same names.
void checkNetwork(const SiteManifest& manifest, const QString& folder, const QString& network,
                  bool intoNetwork) {
    if (intoNetwork || manifest.network.isEmpty() || manifest.network == network)
        return;
    throw FileProblem(QStringLiteral("%1: the site was saved from the network \"%2\", not \"%3\" "
                                     "(--into-network restores it into \"%3\" all the same)")
                          .arg(echoed(QDir(folder).filePath(ManifestFileName)),
                               echoed(manifest.network), echoed(network)));
}

// Two entries for one device would each write it, in an order that depends
// on the timing of the jobs.
void refuseTwoEntriesForOneDevice(const std::vector<SavedDevice>& devices,
                                  const std::vector<DeviceTarget>& targets, const QString& folder) {
    QMap<QString, size_t> first;
    for (size_t i = 0; i < targets.size(); ++i) {
        const auto earlier = first.constFind(targets[i].path);
        if (earlier == first.constEnd()) {
            first.insert(targets[i].path, i);
            continue;
        }
        throw FileProblem(QStringLiteral("%1: the %2 and the %3 are both for the device %4; "
                                         "nothing written")
                              .arg(echoed(QDir(folder).filePath(ManifestFileName)),
                                   named(devices[*earlier].chosen), named(devices[i].chosen),
                                   echoed(targets[i].path)));
    }
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
        {QStringLiteral("--dry-run"), QStringLiteral("--only"), QStringLiteral("--into-network"),
         QStringLiteral("--json")},
        err);
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
        checkNetwork(manifest, folder, line->positional[0],
                     line->has(QStringLiteral("--into-network")));
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
            targets.push_back(targetOf(network, device.chosen.entry.device));
        refuseTwoEntriesForOneDevice(*devices, targets, folder);
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
