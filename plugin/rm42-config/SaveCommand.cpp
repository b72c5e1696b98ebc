// SPDX-License-Identifier: Apache-2.0
// rm42-config save: one device's configuration to a file or standard output,
// or every thermostat of a subsystem or of the network to a new folder with
// a manifest (a site backup), several devices read at once.
#include "CommandLine.h"
#include "DeviceConfiguration.h"
#include "DeviceJobs.h"
#include "EchoedText.h"
#include "OutputFiles.h"
#include "ProgressBar.h"
#include "SiteFolder.h"
#include "Subcommands.h"
#include "Thermostat.h"
#include "platform/PrintableText.h"

#include <QDir>

namespace {

// The configuration of the device; throws Error when it cannot be read.
ConfigurationFile savedConfiguration(const ThermostatNetwork& network, const DeviceTarget& target) {
    if (!target.device)
        throw Error(0, QStringLiteral("rm42-config"), target.failure);
    Thermostat thermostat(network.system(), target.device, target.path,
                          ConfigurationFile::SavedUnitSystem);
    thermostat.read();
    return configurationOf(thermostat, network.name());
}

int saveOne(const ThermostatNetwork& network, const DeviceTarget& target, const QString& outputFile,
            QTextStream& out, QTextStream& err) {
    const bool toOutput = outputFile.isEmpty() || outputFile == u"-";
    try {
        const QByteArray json = configurationJson(savedConfiguration(network, target));
        if (toOutput) {
            out << json;
            return ExitStatus::Done;
        }
        writeOutputFile(outputFile, json);
        out << printable(target.path) << ": saved to " << printable(outputFile) << '\n';
        return ExitStatus::Done;
    } catch (const Error& error) {
        err << "rm42-config: " << printable(target.path)
            << ": failed: " << oneLine(error.description()) << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << printable(target.path) << ": not saved: " << problem.message()
            << '\n';
    }
    return ExitStatus::SomeDeviceFailed;
}

// A site goes into a folder of its own, so that its manifest speaks for
// every file there and no earlier backup is replaced.
void checkSiteFolder(const QString& folder) {
    checkOutputFolder(folder);
    if (!QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        throw FileProblem(echoed(folder) +
                          QStringLiteral(": the folder is not empty; a site is saved into a new "
                                         "or empty folder"));
}

int saveEach(const ThermostatNetwork& network, int jobs, const std::vector<DeviceTarget>& targets,
             const QString& folder, QTextStream& out, QTextStream& err) {
    makeFolder(folder);
    SiteFolder site(folder, network.name());
    ProgressBar progress(err, static_cast<int>(targets.size()));
    int failed = 0;
    // Devices are read several at once; their files and the manifest's
    // entries are written in the targets' order, the manifest at the end.
    DeviceJobs(network, jobs, progress)
        .run(targets, [&](const DeviceJob& job) -> DeviceJobs::Finish {
            std::optional<ConfigurationFile> configuration;
            QString failure;
            try {
                configuration = savedConfiguration(job.network, job.target);
            } catch (const Error& error) {
                failure = oneLine(error.description());
            }
            return [&, path = job.target.path, configuration, failure]() mutable {
                try {
                    if (configuration)
                        site.add(*configuration);
                } catch (const FileProblem& problem) {
                    failure = problem.message();
                }
                failed += !failure.isEmpty();
                out << printable(path)
                    << (failure.isEmpty() ? QStringLiteral(": saved")
                                          : QStringLiteral(": failed: ") + failure)
                    << '\n';
                out.flush();
            };
        });
    const qsizetype count = targets.size();
    out << count << (count == 1 ? " device: " : " devices: ") << count - failed << " saved, "
        << failed << " failed\n";
    try {
        site.finish();
    } catch (const FileProblem& problem) {
        err << "rm42-config: the manifest cannot be written: " << problem.message() << '\n';
        return ExitStatus::SomeDeviceFailed;
    }
    return failed == 0 ? ExitStatus::Done : ExitStatus::SomeDeviceFailed;
}

} // namespace

int runSave(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words,
                         {QStringLiteral("-o"), QStringLiteral("--subsystem"),
                          QStringLiteral("--interface"), QStringLiteral("--jobs")},
                         {QStringLiteral("--all")}, err);
    if (!line)
        return usageOf("save", err);
    const bool many =
        line->has(QStringLiteral("--all")) || line->values.contains(QStringLiteral("--subsystem"));
    const bool oneChoice = (line->positional.size() == 2) + line->has(QStringLiteral("--all")) +
                               line->values.contains(QStringLiteral("--subsystem")) ==
                           1;
    const QString output = line->value(QStringLiteral("-o"));
    if (line->positional.isEmpty() || line->positional.size() > 2 || !oneChoice ||
        (many && output.isEmpty()))
        return usageOf("save", err);
    const std::optional<int> jobs = jobsOption(*line, err);
    if (!jobs)
        return ExitStatus::Refused;
    try {
        if (many)
            checkSiteFolder(output);
        else if (!output.isEmpty() && output != u"-")
            checkOutputFile(output);
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        if (!many)
            return saveOne(network, network.device(line->positional[1]), output, out, err);
        const std::vector<DeviceTarget> targets =
            line->has(QStringLiteral("--all"))
                ? network.allThermostats()
                : network.subsystemThermostats(line->value(QStringLiteral("--subsystem")));
        return saveEach(network, *jobs, targets, output, out, err);
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
