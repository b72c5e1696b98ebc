// SPDX-License-Identifier: Apache-2.0
// Command 13 in the real plug-in process, started by the host tool as a
// building would: the processor time of one opening of RTU-1 at zero latency
// (the difference of a run of many openings and one of few, so that start-up
// and registration drop out), with and without the host tool's own, and the peak resident memory after 10,000
// openings against that after one.
#include "ChildRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sched.h>

namespace {

// Keeps this process, and the programs it starts meanwhile, on the core it
// runs on now.
class OneCore {
public:
    OneCore() {
        sched_getaffinity(0, sizeof(m_before), &m_before);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
    ~OneCore() { sched_setaffinity(0, sizeof(m_before), &m_before); }
    OneCore(const OneCore&) = delete;
    OneCore& operator=(const OneCore&) = delete;

private:
    cpu_set_t m_before{};
};

const QString BinDir = QStringLiteral(RM42_BIN_DIR);
const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");

// A fresh platform root with the plug-in registered, no display, no dialog
// waiting for an answer, and networks without latency or channel limit.
class PlugInSite {
public:
    PlugInSite() {
        m_environment.insert(QStringLiteral("LNS_PLATFORM_ROOT"), m_root.path());
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("RM42_UNATTENDED"), QStringLiteral("1"));
        m_environment.insert(QStringLiteral("LNS_SIM_CHANNEL_CAPACITY"), QStringLiteral("0"));
        m_ready =
            run(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode == 0 &&
            run(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regplugin")}).exitCode == 0;
    }

    bool ready() const { return m_ready; }

    // The host registers the commands, then sends command 13 for RTU-1
    // `openings` times.
    ChildRun openRtu1(int openings) {
        const QString script = m_root.filePath(QStringLiteral("script.txt"));
        QFile file(script);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("create\nset networkName \"Demo Building\"\ncall SendCommand 50 0 \"\"\n");
        for (int n = 0; n < openings; ++n)
            file.write("call SendCommand 13 7 \"Demo Building/System 1/Floor 1/RTU-1\"\n");
        file.write("release\n");
        file.close();
        return run(QStringLiteral("lns-host"), {QStringLiteral("run"), ProgId, script});
    }

private:
    ChildRun run(const QString& program, const QStringList& arguments) {
        return runChild(BinDir + u'/' + program, arguments, m_environment,
                        m_root.filePath(QStringLiteral("out.txt")));
    }

    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    bool m_ready = false;
};

// On one core: the host and the plug-in work by turns, and whether the
// machine runs them on one core or two changed the figure from 3 to 5 ms
// between runs.
void BM_Command13CpuPerOpening(benchmark::State& state) {
    constexpr int Few = 10;
    constexpr int Many = 210;
    const OneCore pinned;
    PlugInSite site;
    if (!site.ready()) {
        state.SkipWithError("the plug-in could not be registered");
        return;
    }
    for (auto _ : state) {
        const ChildRun few = site.openRtu1(Few);
        const ChildRun many = site.openRtu1(Many);
        if (few.exitCode != 0 || many.exitCode != 0) {
            state.SkipWithError("the host's script failed");
            return;
        }
        state.counters["cpu_ms_per_opening"] =
            (many.cpuSeconds - few.cpuSeconds) * 1000 / (Many - Few);
        // Without the host tool's own part, which the plug-in does not spend.
        const double plugInFew = few.cpuSeconds - few.ownCpuSeconds;
        const double plugInMany = many.cpuSeconds - many.ownCpuSeconds;
        state.counters["plugin_cpu_ms_per_opening"] =
            (plugInMany - plugInFew) * 1000 / (Many - Few);
    }
}
BENCHMARK(BM_Command13CpuPerOpening)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PeakMemoryAfterOpenings(benchmark::State& state) {
    PlugInSite site;
    if (!site.ready()) {
        state.SkipWithError("the plug-in could not be registered");
        return;
    }
    for (auto _ : state) {
        const ChildRun one = site.openRtu1(1);
        const ChildRun many = site.openRtu1(static_cast<int>(state.range(0)));
        if (one.exitCode != 0 || many.exitCode != 0) {
            state.SkipWithError("the host's script failed");
            return;
        }
        state.counters["one_opening_MiB"] = one.peakMiB;
        state.counters["after_MiB"] = many.peakMiB;
        state.counters["kB_per_opening"] =
            (many.peakMiB - one.peakMiB) * 1024 / static_cast<double>(state.range(0) - 1);
    }
}
BENCHMARK(BM_PeakMemoryAfterOpenings)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
