// SPDX-License-Identifier: Apache-2.0
// rm42-config against a channel of a real capacity and at scale:
// - apply to 100 thermostats at 40 ms a transaction on twisted pair (100
//   transactions a second), with the default number of devices in flight and
//   with --jobs 8, side by side, each against the channel-bound time
//   (transactions / capacity), and the most devices the default kept in
//   flight;
// - apply --jobs 64 to 5,000 thermostats several times (none may fail),
//   and its peak memory against --jobs 1;
// - save --all's processor time per device at 100, 1,000, 5,000 and 20,000
//   devices.
#include "ChildRun.h"
#include "DeviceJobs.h"
#include "GeneratedSite.h"
#include "OutputFiles.h"
#include "objectserver/SimObjectServer.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

constexpr double TwistedPair = 100; // transactions a second
const QString Program = QStringLiteral(RM42_BIN_DIR "/rm42-config");

// Two files that differ in two values, so that runs taking turns with them
// each send two values to every device.
QStringList commissioningFiles(const GeneratedSite& site) {
    ThermostatNetwork network(Generated, QString());
    auto& server = dynamic_cast<lns::sim::SimObjectServer&>(*network.objectServer());
    server.setChannelCapacity(0);
    ConfigurationFile file = commissioningFile(network);
    QStringList files;
    for (const char* value : {"68", "69"}) {
        file.fields.insert(QStringLiteral("occ_heat_setpts"), QLatin1String(value));
        file.fields.insert(QStringLiteral("password"), QLatin1String(value));
        files << site.path(QStringLiteral("commissioning-%1.json").arg(value));
        writeOutputFile(files.last(), configurationJson(file));
    }
    return files;
}

qsizetype transactionsIn(const QString& journal) {
    QFile calls(journal);
    calls.open(QIODevice::ReadOnly);
    qsizetype transactions = 0;
    for (const QByteArray& call : calls.readAll().split('\n'))
        transactions += isTransaction(QString::fromUtf8(call));
    return transactions;
}

void BM_ApplyOnTwistedPair(benchmark::State& state) {
    GeneratedSite site;
    const QStringList files = commissioningFiles(site);
    const QString journal = site.path(QStringLiteral("journal.txt"));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LNS_SIM_LATENCY_MS"), QString::number(TransactionMs));
    environment.insert(QStringLiteral("LNS_SIM_JOURNAL"), journal);
    for (auto _ : state) {
        int turn = 0;
        for (const QString& jobs : {QString(), QStringLiteral("8")}) {
            QFile::remove(journal);
            QStringList arguments{QStringLiteral("apply"), Generated, files[turn++ % 2],
                                  QStringLiteral("--all")};
            if (!jobs.isEmpty())
                arguments << QStringLiteral("--jobs") << jobs;
            const ChildRun run =
                runChild(Program, arguments, environment, site.path(QStringLiteral("out.txt")));
            if (run.exitCode != 0) {
                state.SkipWithError("rm42-config apply failed");
                return;
            }
            const double channelBound = transactionsIn(journal) / TwistedPair;
            const std::string name = jobs.isEmpty() ? "default" : "jobs" + jobs.toStdString();
            state.counters[name + "_s"] = run.seconds;
            state.counters[name + "_ratio"] = run.seconds / channelBound;
            state.counters["channel_bound_s"] = channelBound;
        }
    }
}
BENCHMARK(BM_ApplyOnTwistedPair)->Iterations(1)->Unit(benchmark::kSecond);

// The same apply in this process, to see how many devices the default kept
// in flight: the channel is full at its capacity times 40 ms, 4.
void BM_DevicesInFlightOnTwistedPair(benchmark::State& state) {
    GeneratedSite site;
    const QStringList files = commissioningFiles(site);
    ThermostatNetwork network(Generated, QString());
    auto& server = dynamic_cast<lns::sim::SimObjectServer&>(*network.objectServer());
    const ConfigurationFile file = commissioningFile(network);
    const std::vector<DeviceTarget> targets = network.allThermostats();
    server.setLatency(TransactionMs);
    QString messages;
    QTextStream err(&messages);
    for (auto _ : state) {
        ProgressBar progress(err, static_cast<int>(targets.size()));
        DeviceJobs jobs(network, 0, progress);
        QElapsedTimer clock;
        clock.start();
        jobs.run(targets, [&](const DeviceJob& job) -> DeviceJobs::Finish {
            ActivityLogLines log;
            DeviceConfiguration(file, {}, job.network.name(), job.network.system(), log)
                .applyTo(job.target);
            return {};
        });
        state.counters["seconds"] = clock.nsecsElapsed() / 1e9;
        state.counters["most_in_flight"] = jobs.mostInFlight();
        state.counters["kept_in_flight"] = jobs.keptInFlight();
    }
}
BENCHMARK(BM_DevicesInFlightOnTwistedPair)->Iterations(1)->Unit(benchmark::kSecond);

// 5,000 thermostats without latency or channel limit, where the devices in
// flight contend most for the database: every run must change every device.
void BM_ApplyJobs64On5000Devices(benchmark::State& state) {
    constexpr int Runs = 4;
    GeneratedSite site(50);
    const QStringList files = commissioningFiles(site);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LNS_SIM_CHANNEL_CAPACITY"), QStringLiteral("0"));
    const QString out = site.path(QStringLiteral("out.txt"));
    for (auto _ : state) {
        const ChildRun one =
            runChild(Program,
                     {QStringLiteral("apply"), Generated, files[0], QStringLiteral("--all"),
                      QStringLiteral("--jobs"), QStringLiteral("1")},
                     environment, out, Watch::Memory);
        int failedRuns = one.exitCode != 0;
        double peak64 = 0;
        double seconds64 = 0;
        for (int run = 1; run <= Runs; ++run) {
            const ChildRun many =
                runChild(Program,
                         {QStringLiteral("apply"), Generated, files[run % 2],
                          QStringLiteral("--all"), QStringLiteral("--jobs"), QStringLiteral("64")},
                         environment, out, Watch::Memory);
            failedRuns += many.exitCode != 0;
            peak64 = std::max(peak64, many.ownPeakMiB);
            seconds64 += many.seconds / Runs;
        }
        state.counters["failed_runs"] = failedRuns;
        state.counters["jobs1_s"] = one.seconds;
        state.counters["jobs64_s"] = seconds64;
        state.counters["jobs1_peak_MiB"] = one.ownPeakMiB;
        state.counters["jobs64_peak_MiB"] = peak64;
        state.counters["peak_ratio"] = peak64 / one.ownPeakMiB;
    }
}
BENCHMARK(BM_ApplyJobs64On5000Devices)->Iterations(1)->Unit(benchmark::kSecond);

// save --all of 100, 1,000, 5,000 and 20,000 devices, one process each: the
// processor time per device must stay the same. The network's database is
// made from its description by an opening before, which save does not count.
void BM_SaveAllCpuPerDevice(benchmark::State& state) {
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LNS_SIM_CHANNEL_CAPACITY"), QStringLiteral("0"));
    for (auto _ : state) {
        double smallest = 0;
        for (const int subsystems : {1, 10, 50, 200}) {
            GeneratedSite site(subsystems);
            runChild(Program, {QStringLiteral("show"), Generated, QStringLiteral("Building/RTU-001")},
                     environment, site.path(QStringLiteral("out.txt")));
            const ChildRun run =
                runChild(Program,
                         {QStringLiteral("save"), Generated, QStringLiteral("--all"),
                          QStringLiteral("-o"), site.path(QStringLiteral("site"))},
                         environment, site.path(QStringLiteral("out.txt")));
            if (run.exitCode != 0) {
                state.SkipWithError("rm42-config save failed");
                return;
            }
            const double perDevice = run.cpuSeconds * 1000 / (subsystems * DeviceCount);
            const std::string devices = std::to_string(subsystems * DeviceCount);
            state.counters["cpu_ms_per_device_" + devices] = perDevice;
            if (smallest == 0)
                smallest = perDevice;
            state.counters["ratio_" + devices] = perDevice / smallest;
        }
    }
}
BENCHMARK(BM_SaveAllCpuPerDevice)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
