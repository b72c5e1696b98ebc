// SPDX-License-Identifier: Apache-2.0
// rm42-config report: a commissioning report of thermostats read from the
// network, several at once, or of a site folder, as CSV, HTML or PDF.
#include "CommandLine.h"
#include "CsvReport.h"
#include "EchoedText.h"
#include "HtmlReport.h"
#include "OutputFiles.h"
#include "PdfReport.h"
#include "ReadingReport.h"
#include "SiteReport.h"
#include "Subcommands.h"
#include "ToolVersion.h"
#include "platform/PrintableText.h"

#include <QFileInfo>

namespace {

enum class ReportForm { Csv, Html, Pdf };

std::optional<ReportForm> formOf(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"csv")
        return ReportForm::Csv;
    if (extension == u"html" || extension == u"htm")
        return ReportForm::Html;
    if (extension == u"pdf")
        return ReportForm::Pdf;
    return std::nullopt;
}

QByteArray written(ReportForm form, const SiteReport& report) {
    ShownValues shown(report.units);
    switch (form) {
    case ReportForm::Csv:
        return csvReport(report, shown);
    case ReportForm::Html:
        return htmlReport(reportSheets(report, shown));
    case ReportForm::Pdf:
        break;
    }
    return pdfReport(reportSheets(report, shown));
}

std::vector<DeviceTarget> targetsOf(const ThermostatNetwork& network, const CommandLine& line) {
    if (line.values.contains(QStringLiteral("--subsystem")))
        return network.subsystemThermostats(line.value(QStringLiteral("--subsystem")));
    if (line.positional.size() == 1)
        return network.allThermostats();
    std::vector<DeviceTarget> targets;
    for (const QString& name : line.positional.mid(1))
        targets.push_back(network.device(name));
    return targets;
}

void readNetwork(SiteReport& report, const CommandLine& line, int jobs, ReadingReport& reading,
                 QTextStream& err) {
    const ThermostatNetwork network(line.positional[0], line.value(QStringLiteral("--interface")));
    report.network = network.name();
    report.source = QStringLiteral("the network");
    const std::vector<DeviceTarget> targets = targetsOf(network, line);
    ProgressBar progress(err, static_cast<int>(targets.size()));
    report.devices =
        readForReport(network, jobs, targets, progress, [&](const ReportedDevice& device) {
            reading.report(device.path, device.failure, device.errorNumber,
                           {{QStringLiteral("state"), device.state}});
        });
}

void readSiteFolder(SiteReport& report, const QString& folder, ReadingReport& reading) {
    const SavedSite site = readSavedSite(folder);
    report.network = site.manifest.network;
    report.source = QStringLiteral("the site folder ") + folder;
    report.devices = savedForReport(site);
    for (const ReportedDevice& device : report.devices)
        reading.report(device.path, device.failure, device.errorNumber);
}

} // namespace

int runReport(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line = parseCommandLine(
        words,
        {QStringLiteral("-o"), QStringLiteral("--subsystem"), QStringLiteral("--units"),
         QStringLiteral("--interface"), QStringLiteral("--jobs")},
        {QStringLiteral("--all"), QStringLiteral("--json")}, err);
    if (!line || line->positional.isEmpty() || !line->values.contains(QStringLiteral("-o")))
        return usageOf("report", err);
    const bool site = isSiteFolder(line->positional[0]);
    const int choices = (line->positional.size() > 1) + line->has(QStringLiteral("--all")) +
                        line->values.contains(QStringLiteral("--subsystem"));
    if (choices > 1 || (site && choices > 0))
        return usageOf("report", err);
    const QString output = line->value(QStringLiteral("-o"));
    const std::optional<ReportForm> form = formOf(output);
    if (!form) {
        err << "rm42-config: " << echoed(output)
            << ": the report's form is named by its extension: .csv, .html or .pdf\n";
        return ExitStatus::Refused;
    }
    const std::optional<qint16> units = unitsOption(*line, storedDisplayUnits(), err);
    const std::optional<int> jobs = jobsOption(*line, err);
    if (!units || !jobs)
        return ExitStatus::Refused;
    std::optional<JsonResults> json;
    if (line->has(QStringLiteral("--json")))
        json.emplace(QStringLiteral("report"));
    try {
        checkOutputFile(output);
        SiteReport report{QString(),     QString(), QDateTime::currentDateTimeUtc(),
                          toolVersion(), *units,    {}};
        ReadingReport reading(out, QStringLiteral("read"), json ? &*json : nullptr);
        if (site)
            readSiteFolder(report, line->positional[0], reading);
        else
            readNetwork(report, *line, *jobs, reading, err);
        int status = reading.finish();
        bool reportWritten = false;
        try {
            writeOutputFile(output, written(*form, report));
            reportWritten = true;
        } catch (const FileProblem& problem) {
            err << "rm42-config: the report is not written: " << problem.message() << '\n';
            status = ExitStatus::SomeDeviceFailed;
        }
        if (json) {
            json->set(QStringLiteral("network"), report.network);
            json->set(QStringLiteral("report"), output);
            json->set(QStringLiteral("reportWritten"), reportWritten);
            json->set(QStringLiteral("units"), unitsName(*units));
            json->print(out);
        } else if (reportWritten) {
            out << "report written to " << printable(output) << '\n';
        }
        return status;
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
