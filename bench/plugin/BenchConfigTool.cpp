// SPDX-License-Identifier: Apache-2.0
// rm42-config's apply over 100 thermostats of a generated network at 40 ms
// per device transaction, against the sum of those transactions' times; the
// restore of a saved site by the program itself at that latency; the
// program's apply with several devices at once against one at a time, in a
// network of 100 and of 5,000 thermostats; the check of a configuration
// file; the program's report of 100 thermostats against its save of the same
// site, and its PDF of a saved site of 100 thermostats. The channel has no
// limit here, so the figures compare with those before it had one;
// BenchDevicesInFlight measures against the channel.
#include "CheckedFile.h"
#include "DeviceConfiguration.h"
#include "GeneratedSite.h"
#include "OutputFiles.h"
#include "SiteFolder.h"
#include "Thermostat.h"
#include "objectserver/SimObjectServer.h"
#include "platform/SettingsStore.h"
#include "support/CRegistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <optional>
#include <vector>

namespace {

// Applies the file to every device of the generated site; with
// `secondTime` the file was applied before, so nothing differs and the run is
// reads and comparisons only (no database save in the simulated server).
void applyToHundredDevices(benchmark::State& state, bool secondTime,
                           int latencyMs = TransactionMs) {
    GeneratedSite site;
    ThermostatNetwork network(Generated, QString());
    auto& server = dynamic_cast<lns::sim::SimObjectServer&>(*network.objectServer());
    server.setLatency(0);
    server.setChannelCapacity(0); // one device at a time: the latency alone counts
    const ConfigurationFile file = commissioningFile(network);
    const std::vector<DeviceTarget> targets = network.allThermostats();
    ActivityLogLines log;
    DeviceConfiguration configuration(file, {}, network.name(), network.system(), log);
    if (secondTime) {
        for (const DeviceTarget& target : targets)
            configuration.applyTo(target);
    }
    server.setLatency(latencyMs);
    server.keepJournal(true);
    for (auto _ : state) {
        server.clearJournal();
        QElapsedTimer clock;
        clock.start();
        int changed = 0;
        for (const DeviceTarget& target : targets)
            changed += configuration.applyTo(target).result == DeviceOutcome::Result::Changed;
        const double seconds = clock.nsecsElapsed() / 1e9;
        qsizetype transactions = 0;
        qsizetype sends = 0;
        for (const QString& call : server.journal()) {
            transactions += isTransaction(call);
            sends += call.contains(QLatin1String("FormattedElement ")) &&
                     !call.startsWith(QLatin1String("ConfigProperty.FormattedElement "));
        }
        const double transactionSeconds = transactions * latencyMs / 1000.0;
        state.counters["devices_changed"] = changed;
        state.counters["transactions"] = static_cast<double>(transactions);
        state.counters["sends"] = static_cast<double>(sends);
        state.counters["apply_s"] = seconds;
        if (latencyMs > 0) {
            state.counters["transactions_s"] = transactionSeconds;
            state.counters["ratio"] = seconds / transactionSeconds;
        }
    }
}

void BM_ApplyToHundredDevices(benchmark::State& state) {
    applyToHundredDevices(state, false);
}
BENCHMARK(BM_ApplyToHundredDevices)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ApplyAgainToHundredDevices(benchmark::State& state) {
    applyToHundredDevices(state, true);
}
BENCHMARK(BM_ApplyAgainToHundredDevices)->Iterations(1)->Unit(benchmark::kSecond);

// Saves every device of the site into the folder "site" without latency.
QString savedSite(const GeneratedSite& site, const ThermostatNetwork& network) {
    const QString folder = site.path(QStringLiteral("site"));
    QDir().mkpath(folder);
    auto& server = dynamic_cast<lns::sim::SimObjectServer&>(*network.objectServer());
    server.setLatency(0);
    server.setChannelCapacity(0);
    SiteFolder saved(folder, network.name());
    for (const DeviceTarget& target : network.allThermostats())
        saved.add(savedConfiguration(network, target));
    saved.finish();
    return folder;
}

// Saves every device of the site into a folder, then changes every device,
// so that a restore has two values to send back to each.
QString savedThenChangedSite(const GeneratedSite& site) {
    ThermostatNetwork network(Generated, QString());
    const QString folder = savedSite(site, network);
    const std::vector<DeviceTarget> targets = network.allThermostats();
    ActivityLogLines log;
    DeviceConfiguration change(commissioningFile(network), {}, network.name(), network.system(),
                               log);
    for (const DeviceTarget& target : targets)
        change.applyTo(target);
    return folder;
}

void BM_RestoreHundredDevices(benchmark::State& state) {
    GeneratedSite site;
    const QString folder = savedThenChangedSite(site);
    const QString journal = site.path(QStringLiteral("journal.txt"));
    for (auto _ : state) {
        QFile::remove(journal);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LNS_SIM_LATENCY_MS"), QString::number(TransactionMs));
        environment.insert(QStringLiteral("LNS_SIM_CHANNEL_CAPACITY"), QStringLiteral("0"));
        environment.insert(QStringLiteral("LNS_SIM_JOURNAL"), journal);
        QProcess restore;
        restore.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        restore.start(QStringLiteral(RM42_BIN_DIR "/rm42-config"),
                      {QStringLiteral("restore"), Generated, folder});
        restore.waitForFinished(-1);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (restore.exitCode() != 0)
            state.SkipWithError(restore.readAllStandardError().constData());
        QFile calls(journal);
        calls.open(QIODevice::ReadOnly);
        qsizetype transactions = 0;
        for (const QByteArray& call : calls.readAll().split('\n'))
            transactions += isTransaction(QString::fromUtf8(call));
        const double transactionSeconds = transactions * TransactionMs / 1000.0;
        state.counters["transactions"] = static_cast<double>(transactions);
        state.counters["restore_s"] = seconds;
        state.counters["transactions_s"] = transactionSeconds;
        state.counters["ratio"] = seconds / transactionSeconds;
    }
}
BENCHMARK(BM_RestoreHundredDevices)->Iterations(1)->Unit(benchmark::kSecond);
// A file of whole degrees F held at 0.01 degC: the second apply must settle
// (sends 0) and, with no network time, take well under two seconds.
void BM_ApplyAgainToHundredDevicesWithoutLatency(benchmark::State& state) {
    applyToHundredDevices(state, true, 0);
}
BENCHMARK(BM_ApplyAgainToHundredDevicesWithoutLatency)->Iterations(1)->Unit(benchmark::kSecond);

// One run of the program; its time in seconds, or nothing when it failed.
std::optional<double> timedRun(const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LNS_SIM_LATENCY_MS"), QString::number(TransactionMs));
    environment.insert(QStringLiteral("LNS_SIM_CHANNEL_CAPACITY"), QStringLiteral("0"));
    QProcess program;
    program.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(RM42_BIN_DIR "/rm42-config"), arguments);
    program.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        return std::nullopt;
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// rm42-config apply to the DeviceCount thermostats of "Building" with the
// default number of devices at once and with --jobs 1, side by side, in a
// network of `state.range(0)` such subsystems. Every run sends two values to
// every device: the runs take turns with two files that differ in both.
void BM_ProgramApplyDevicesAtOnce(benchmark::State& state) {
    constexpr int Rounds = 3;
    GeneratedSite site(static_cast<int>(state.range(0)));
    QStringList files;
    {
        ThermostatNetwork network(Generated, QString());
        dynamic_cast<lns::sim::SimObjectServer&>(*network.objectServer()).setLatency(0);
        ConfigurationFile file = commissioningFile(network);
        for (const char* value : {"68", "69"}) {
            file.fields.insert(QStringLiteral("occ_heat_setpts"), QLatin1String(value));
            file.fields.insert(QStringLiteral("password"), QLatin1String(value));
            files << site.path(QStringLiteral("commissioning-%1.json").arg(value));
            writeOutputFile(files.last(), configurationJson(file));
        }
    }
    for (auto _ : state) {
        std::vector<double> oneAtATime;
        std::vector<double> byDefault;
        for (int round = 0; round < Rounds; ++round) {
            for (std::vector<double>* times : {&oneAtATime, &byDefault}) {
                QStringList arguments = {QStringLiteral("apply"), Generated,
                                         files[static_cast<qsizetype>(times == &byDefault)],
                                         QStringLiteral("--subsystem"), QStringLiteral("Building")};
                if (times == &oneAtATime)
                    arguments << QStringLiteral("--jobs") << QStringLiteral("1");
                const std::optional<double> seconds = timedRun(arguments);
                if (!seconds) {
                    state.SkipWithError("rm42-config apply failed");
                    return;
                }
                times->push_back(*seconds);
            }
        }
        const double oneMin = *std::min_element(oneAtATime.begin(), oneAtATime.end());
        const double defaultMin = *std::min_element(byDefault.begin(), byDefault.end());
        state.counters["jobs1_min_s"] = oneMin;
        state.counters["jobs1_median_s"] = median(oneAtATime);
        state.counters["default_min_s"] = defaultMin;
        state.counters["default_median_s"] = median(byDefault);
        state.counters["ratio_min"] = defaultMin / oneMin;
        state.counters["ratio_median"] = median(byDefault) / median(oneAtATime);
    }
}
BENCHMARK(BM_ProgramApplyDevicesAtOnce)->Arg(1)->Arg(50)->Iterations(1)->Unit(benchmark::kSecond);

// rm42-config report of the DeviceCount thermostats at TransactionMs with
// the default devices at once, side by side with save --all of the same
// devices: the report reads each device as save does, plus its state.
void BM_ProgramReportAgainstSaveAll(benchmark::State& state) {
    constexpr int Rounds = 3;
    GeneratedSite site;
    for (auto _ : state) {
        std::vector<double> saves;
        std::vector<double> reports;
        for (int round = 0; round < Rounds; ++round) {
            const QString folder = site.path(QStringLiteral("saved-%1").arg(round));
            const std::optional<double> saved =
                timedRun({QStringLiteral("save"), Generated, QStringLiteral("--all"),
                          QStringLiteral("-o"), folder});
            const std::optional<double> reported =
                timedRun({QStringLiteral("report"), Generated, QStringLiteral("--all"),
                          QStringLiteral("-o"), site.path(QStringLiteral("report.csv"))});
            if (!saved || !reported) {
                state.SkipWithError("rm42-config save or report failed");
                return;
            }
            saves.push_back(*saved);
            reports.push_back(*reported);
        }
        state.counters["save_all_median_s"] = median(saves);
        state.counters["report_median_s"] = median(reports);
        state.counters["ratio_median"] = median(reports) / median(saves);
        state.counters["ratio_min"] = *std::min_element(reports.begin(), reports.end()) /
                                      *std::min_element(saves.begin(), saves.end());
    }
}
BENCHMARK(BM_ProgramReportAgainstSaveAll)->Iterations(1)->Unit(benchmark::kSecond);

// rm42-config report of a site folder of DeviceCount thermostats as a PDF,
// no network involved: the program's whole run, start-up included.
void BM_ProgramPdfOfSavedSite(benchmark::State& state) {
    GeneratedSite site;
    const QString folder = savedSite(site, ThermostatNetwork(Generated, QString()));
    for (auto _ : state) {
        const std::optional<double> seconds =
            timedRun({QStringLiteral("report"), folder, QStringLiteral("-o"),
                      site.path(QStringLiteral("site.pdf"))});
        if (!seconds) {
            state.SkipWithError("rm42-config report failed");
            return;
        }
        state.counters["pdf_s"] = *seconds;
    }
}
BENCHMARK(BM_ProgramPdfOfSavedSite)->Iterations(3)->Unit(benchmark::kSecond);

void BM_CheckFile(benchmark::State& state) {
    GeneratedSite site;
    const QString path = site.path(QStringLiteral("RTU-001.json"));
    {
        ThermostatNetwork network(Generated, QString());
        writeOutputFile(path, configurationJson(commissioningFile(network)));
    }
    QString messages;
    QTextStream err(&messages);
    for (auto _ : state) {
        const std::optional<ConfigurationFile> file = validatedFile(path, err);
        if (!file)
            state.SkipWithError("the file was refused");
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_CheckFile)->Unit(benchmark::kMillisecond);

} // namespace
