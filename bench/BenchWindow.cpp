// The configuration window: creating and loading it, command 13 until the
// window is filled (without latency and at 40 ms a device transaction), Apply
// of 1, 5 and all values, one keystroke through the handlers, and the
// plug-in's peak resident memory with RTU-1 open.
#include "WindowFixture.h"
#include "lns/sim/SimObjectServer.h"
#include "lns/sim/SimResourceCatalog.h"
#include "model/CNvCpTable.h"
#include "model/Specific.h"
#include "window/ModifiedMark.h"

#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

lns::sim::SimObjectServer& serverOf(WindowFixture& f) {
    return dynamic_cast<lns::sim::SimObjectServer&>(*f.window->lcaOS);
}

// Device transactions in the journal: tests, state reads, value reads and writes.
int transactions(const QStringList& journal) {
    int count = 0;
    for (const QString& line : journal) {
        if (line.startsWith(QStringLiteral("AppDevice.Test ")) ||
            line.startsWith(QStringLiteral("AppDevice.State ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.FormattedValue ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.FormattedElement ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.setFormattedElement ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.updateFormattedElement ")))
            ++count;
    }
    return count;
}

void reportTransactions(benchmark::State& state, WindowFixture& f, int latency) {
    const int perIteration =
        transactions(serverOf(f).journal()) /
        static_cast<int>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["transactions"] = perIteration;
    state.counters["transactions_ms"] = perIteration * latency;
}

void BM_WindowCreationAndLoad(benchmark::State& state) {
    WindowFixture f;
    for (auto _ : state) {
        fMain window({f.dialogs, *f.store, f.state, Specific::process(),
                      lns::sim::simResourceCatalogFactory(),
                      [] { return std::unique_ptr<ProgressWindow>(); }});
        benchmark::DoNotOptimize(window.txtNvi[0]);
    }
}
BENCHMARK(BM_WindowCreationAndLoad)->Unit(benchmark::kMillisecond);

void BM_Command13ToFilledWindow(benchmark::State& state) {
    const int latency = static_cast<int>(state.range(0));
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    serverOf(f).setLatency(latency);
    serverOf(f).clearJournal();
    for (auto _ : state)
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    reportTransactions(state, f, latency);
}
BENCHMARK(BM_Command13ToFilledWindow)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command13ToFilledWindow)->Arg(40)->Iterations(3)->Unit(benchmark::kMillisecond);

// Edits the first `count` values (one field of each) and applies them.
void BM_Apply(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int latency = static_cast<int>(state.range(1));
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    serverOf(f).setLatency(latency);
    int sends = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int edited = 0;
        for (const auto& value : Specific::process().NvCpTables) {
            if (edited == count)
                break;
            // Each value is sent as it stands, so the device keeps what it held.
            value->ValueAsChanges = true;
            ++edited;
        }
        sends += edited;
        state.ResumeTiming();
        f.window->cmdApply_Click();
    }
    state.counters["sends"] = static_cast<double>(sends) / static_cast<double>(state.iterations());
    state.counters["transactions_ms"] = state.counters["sends"] * latency;
}
BENCHMARK(BM_Apply)->Args({1, 0})->Args({5, 0})->Args({19, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply)->Args({1, 40})->Args({5, 40})->Args({19, 40})->Iterations(3)->Unit(
    benchmark::kMillisecond);

void BM_Keystroke(benchmark::State& state) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    QLineEdit* box = f.window->txtNvi[5];
    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_PageUp);
        QTest::keyClick(box, Qt::Key_PageDown);
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// Last: the process's peak resident memory after RTU-1 was opened.
void BM_PeakResidentMemoryWithRtu1Open(benchmark::State& state) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    f.window->show();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.window->txtNvi[0]->text());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PeakResidentMemoryWithRtu1Open)->Iterations(1);

} // namespace
