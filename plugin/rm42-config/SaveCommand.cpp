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
#include "ReadingReport.h"
#include "SiteFolder.h"
#include "Subcommands.h"
#include "platform/PrintableText.h"

#include <QDir>

namespace {

int saveOne(const ThermostatNetwork& network, const DeviceTarget& target, const QString& outputFile,
            QTextStream& out, QTextStream& err, JsonResults* json) {
    QString failure;
    QString failedHow = QStringLiteral("failed");
    qint32 errorNumber = 0;
    try {
        const QByteArray saved = configurationJson(savedConfiguration(network, target));
        if (outputFile.isEmpty() || outputFile == u"-") {
            out << saved;
            return ExitStatus::Done;
        }
        writeOutputFile(outputFile, saved);
    } catch (const Error& error) {
        failure = oneLine(error.description());
        errorNumber = error.number();
    } catch (const FileProblem& problem) {
        failure = problem.message();
        failedHow = QStringLiteral("not saved");
    }
    if (!failure.isEmpty())
        err << "rm42-config: " << printable(target.path) << ": " << failedHow << ": " << failure
            << '\n';
    else if (!json)
        out << printable(target.path) << ": saved to " << printable(outputFile) << '\n';
    if (!json)
        return failure.isEmpty() ? ExitStatus::Done : ExitStatus::SomeDeviceFailed;
    ReadingReport report(out, QStringLiteral("saved"), json);
    report.report(target.path, failure, errorNumber, {{QStringLiteral("file"), outputFile}});
    json->print(out);
    return report.finish();
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
             const QString& folder, QTextStream& out, QTextStream& err, JsonResults* json) {
    makeFolder(folder);
    SiteFolder site(folder, network.name());
    ProgressBar progress(err, static_cast<int>(targets.size()));
    ReadingReport report(out, QStringLiteral("saved"), json);
    // Devices are read several at once; their files and the manifest's
    // entries are written in the targets' order, the manifest at the end.
    DeviceJobs(network, jobs, progress)
        .run(targets, [&](const DeviceJob& job) -> DeviceJobs::Finish {
            std::optional<ConfigurationFile> configuration;
            QString failure;
            qint32 errorNumber = 0;
            try {
                configuration = savedConfiguration(job.network, job.target);
            } catch (const Error& error) {
                failure = oneLine(error.description());
                errorNumber = error.number();
            }
            return [&, path = job.target.path, configuration, failure, errorNumber]() mutable {
                try {
                    if (configuration)
                        site.add(*configuration);
                } catch (const FileProblem& problem) {
                    failure = problem.message();
                }
                report.report(path, failure, errorNumber);
            };
        });
    int status = report.finish();
    try {
        site.finish();
    } catch (const FileProblem& problem) {
        err << "rm42-config: the manifest cannot be written: " << problem.message() << '\n';
        status = ExitStatus::SomeDeviceFailed;
    }
    if (json)
        json->print(out);
    return status;
}

} // namespace

int runSave(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words,
                         {QStringLiteral("-o"), QStringLiteral("--subsystem"),
                          QStringLiteral("--interface"), QStringLiteral("--jobs")},
                         {QStringLiteral("--all"), QStringLiteral("--json")}, err);
    if (!line)
        return usageOf("save", err);
    const bool many =
        line->has(QStringLiteral("--all")) || line->values.contains(QStringLiteral("--subsystem"));
    const bool oneChoice = (line->positional.size() == 2) + line->has(QStringLiteral("--all")) +
                               line->values.contains(QStringLiteral("--subsystem")) ==
                           1;
    const QString output = line->value(QStringLiteral("-o"));
    const bool toOutput = output.isEmpty() || output == u"-";
    std::optional<JsonResults> json;
    if (line->has(QStringLiteral("--json")))
        json.emplace(QStringLiteral("save"));
    // The results and a configuration cannot share standard output.
    if (line->positional.isEmpty() || line->positional.size() > 2 || !oneChoice ||
        (many && output.isEmpty()) || (json && !many && toOutput))
        return usageOf("save", err);
    const std::optional<int> jobs = jobsOption(*line, err);
    if (!jobs)
        return ExitStatus::Refused;
    try {
        if (many)
            checkSiteFolder(output);
        else if (!toOutput)
            checkOutputFile(output);
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        if (json)
            json->set(QStringLiteral("network"), network.name());
        JsonResults* results = json ? &*json : nullptr;
        if (!many)
            return saveOne(network, network.device(line->positional[1]), output, out, err, results);
        const std::vector<DeviceTarget> targets =
            line->has(QStringLiteral("--all"))
                ? network.allThermostats()
                : network.subsystemThermostats(line->value(QStringLiteral("--subsystem")));
        return saveEach(network, *jobs, targets, output, out, err, results);
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
