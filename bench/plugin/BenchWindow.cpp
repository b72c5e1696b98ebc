// SPDX-License-Identifier: Apache-2.0
// The configuration window: creating and loading it, command 13 until the
// window is filled (without latency and at 40 ms a device transaction; after
// 1,000 openings; on a network of 5,000 devices another client has just
// changed), Apply of 1, 5 and all values (also beside a log of 5,000 rows)
// with the processor time per send, one activity log row at several lengths of the log, one keystroke through
// the handlers, and the plug-in's peak resident memory with RTU-1 open.
#include "WindowFixture.h"
#include "model/CNvCpTable.h"
#include "model/Specific.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/SimObjectServer.h"
#include "objectserver/SimResourceCatalog.h"
#include "registration/PlugInRegistration.h"
#include "registration/ResourceCatalogRegistration.h"
#include "support/fLog.h"
#include "window/ModifiedMark.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <ctime>
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
            line.startsWith(QStringLiteral("ConfigProperty.FetchElement ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.FormattedValue ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.FormattedElement ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.setFormattedElement ")) ||
            line.startsWith(QStringLiteral("ConfigProperty.updateFormattedElement ")))
            ++count;
    }
    return count;
}

void BM_WindowCreationAndLoad(benchmark::State& state) {
    WindowFixture f;
    for (auto _ : state) {
        fMain window({f.dialogs, *f.store, f.state, Specific::process(),
                      lns::sim::simResourceCatalogFactory(),
                      [] { return std::unique_ptr<ProgressWindow>(); },
                      PlugInRegistration::PlugInKey(),
                      [&] {
                          return ResourceCatalogRegistration(f.state, *f.store, f.dialogs,
                                                             lns::sim::simResourceCatalogFactory())
                              .Check();
                      }});
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
    // Counted per opening: the journal keeps only its newest lines.
    int counted = 0;
    for (auto _ : state) {
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
        state.PauseTiming();
        counted += transactions(serverOf(f).journal());
        serverOf(f).clearJournal();
        state.ResumeTiming();
    }
    const int perOpening =
        counted / static_cast<int>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["transactions"] = perOpening;
    state.counters["transactions_ms"] = perOpening * latency;
}
BENCHMARK(BM_Command13ToFilledWindow)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command13ToFilledWindow)->Arg(40)->Iterations(3)->Unit(benchmark::kMillisecond);

void fillLog(WindowFixture& f, int rows) {
    for (int row = 0; row < rows; ++row)
        f.window->activityLog().LogCommand(QStringLiteral("Reading nciSetPts"),
                                           QStringLiteral("Ok"));
}

// Command 13 once `openings` openings have filled the activity log.
void BM_Command13AfterOpenings(benchmark::State& state) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    for (int opening = 0; opening < state.range(0); ++opening)
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    for (auto _ : state)
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    state.counters["log_rows"] = f.window->activityLog().EchLog->topLevelItemCount();
}
BENCHMARK(BM_Command13AfterOpenings)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(3);

// Lays out "Big Site": the demo network with `devices` copies of RTU-1 in
// subsystems of 100 devices ("Area 1/Device 1-1", ...) besides its own.
void layOutBigSite(const WindowFixture& f, int devices) {
    const QString databases = f.root.path() + QStringLiteral("/LonWorks/Databases/");
    QFile demo(databases + QStringLiteral("Demo Building/network.json"));
    demo.open(QIODevice::ReadOnly);
    QJsonObject root = QJsonDocument::fromJson(demo.readAll()).object();
    QJsonArray systems = root.value("systems").toArray();
    QJsonObject system = systems.first().toObject();
    QJsonArray subsystems = system.value("subsystems").toArray();
    const QJsonObject model =
        subsystems.first().toObject().value("devices").toArray().first().toObject();
    for (int area = 1; area <= devices / 100; ++area) {
        QJsonArray list;
        for (int device = 1; device <= 100; ++device) {
            QJsonObject copy = model;
            copy.insert("name", QStringLiteral("Device %1-%2").arg(area).arg(device));
            list.append(copy);
        }
        subsystems.append(
            QJsonObject{{"name", QStringLiteral("Area %1").arg(area)}, {"devices", list}});
    }
    system.insert("subsystems", subsystems);
    systems.replace(0, system);
    root.insert("systems", systems);
    QDir(databases).mkpath(QStringLiteral("Big Site"));
    QFile big(databases + QStringLiteral("Big Site/network.json"));
    big.open(QIODevice::WriteOnly);
    big.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

// Command 13 right after another client of the network saved a value of
// another device, so that the plug-in first catches up with that change.
void BM_Command13OnBigSiteAfterAnotherClientsChange(benchmark::State& state) {
    WindowFixture f;
    layOutBigSite(f, static_cast<int>(state.range(0)));
    f.openNetwork(QStringLiteral("Big Site"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    const auto other = lns::sim::objectServerFromSettings(*f.store);
    other->Open();
    const auto network = other->Networks()->Item(QStringLiteral("Big Site"));
    network->Open();
    const auto system = network->Systems()->Item(1);
    system->Open();
    const auto location = system->Subsystems()
                              ->Item(QStringLiteral("Area 7"))
                              ->AppDevices()
                              ->Item(QStringLiteral("Device 7-3"))
                              ->Interface()
                              ->LonMarkObjects()
                              ->Item(QStringLiteral("Thermostat"))
                              ->ConfigProperties()
                              ->Item(QStringLiteral("nciLocation"));
    location->setFormatSpec(QStringLiteral("SNVT_str_asc#US"));
    int change = 0;
    for (auto _ : state) {
        state.PauseTiming();
        location->setFormattedElement(0, QStringLiteral("Room %1").arg(++change));
        state.ResumeTiming();
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    }
}
BENCHMARK(BM_Command13OnBigSiteAfterAnotherClientsChange)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);

// One row added to a log of `range(0)` rows.
void BM_LogRow(benchmark::State& state) {
    WindowFixture f;
    fillLog(f, static_cast<int>(state.range(0)));
    for (auto _ : state)
        f.window->activityLog().LogCommand(QStringLiteral("Updating nciSetPts"),
                                           QStringLiteral("Ok"));
}
BENCHMARK(BM_LogRow)->Arg(0)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond)->Repetitions(3);

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Edits the first `count` values (one field of each) and applies them, with
// the activity log holding `range(2)` rows first.
void BM_Apply(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int latency = static_cast<int>(state.range(1));
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fillLog(f, static_cast<int>(state.range(2)));
    serverOf(f).setLatency(latency);
    int sends = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int edited = 0;
        for (const auto& value : Specific::process().NvCpTables) {
            if (edited == count)
                break;
            // Each value is sent as it stands, so the device keeps what it held.
            if (value->HeldItems().isEmpty())
                continue;
            value->Edit(0, value->HeldItems().first());
            ++edited;
        }
        sends += edited;
        state.ResumeTiming();
        const double before = processCpuSeconds();
        f.window->cmdApply_Click();
        cpuSeconds += processCpuSeconds() - before;
    }
    state.counters["cpu_ms_per_send"] = cpuSeconds * 1000 / sends;
    state.counters["sends"] = static_cast<double>(sends) / static_cast<double>(state.iterations());
    state.counters["transactions_ms"] = state.counters["sends"] * latency;
}
BENCHMARK(BM_Apply)
    ->Args({1, 0, 0})
    ->Args({5, 0, 0})
    ->Args({19, 0, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply)->Args({19, 0, 5000})->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_Apply)
    ->Args({1, 40, 0})
    ->Args({5, 40, 0})
    ->Args({19, 40, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

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
