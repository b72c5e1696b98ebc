// SPDX-License-Identifier: Apache-2.0
// Formatted configuration-property reads and writes through the simulated
// Object Server, and opening the demo network. A write is one transaction of
// the network database that rewrites the device's row. The writes of all
// values at 40 ms a transaction show what the store adds to the sends.
#include "KitCopy.h"
#include "OpenDemo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// A copy of the kit's networks in a folder of its own.
struct KitDatabases {
    QTemporaryDir folder;
    KitDatabases() {
        copyFromKit(QStringLiteral("Databases"), folder.path() + QStringLiteral("/Databases"));
    }
};

struct DemoSetpoints {
    KitDatabases databases;
    OpenDemo demo{databases.folder.path()};
    lns::sim::SimObjectServer& server = demo.server;
    lns::Ref<lns::ConfigProperties> cps =
        demo.properties(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"));
    lns::Ref<lns::ConfigProperty> cp = cps->Item(QStringLiteral("nciSetPts"));

    DemoSetpoints() {
        server.setLatency(0);
        cp->setFormatSpec(QStringLiteral("SNVT_temp_setpt#US"));
    }
};

void BM_SimCpRead(benchmark::State& state) {
    DemoSetpoints demo;
    for (auto _ : state) {
        benchmark::DoNotOptimize(demo.cp->FormattedValue());
        if (demo.server.journal().size() > 100000)
            demo.server.clearJournal();
    }
}
BENCHMARK(BM_SimCpRead);

void BM_SimCpWrite(benchmark::State& state) {
    DemoSetpoints demo;
    const QString texts[] = {QStringLiteral("72.00,76.00,80.00,70.00,66.00,62.00"),
                             QStringLiteral("73.00,76.00,80.00,70.00,66.00,62.00")};
    int turn = 0;
    for (auto _ : state)
        demo.cp->setFormattedElement(0, texts[turn++ % 2]);
}
BENCHMARK(BM_SimCpWrite)->Repetitions(5);

// Every value of the device's Thermostat object written back at 40 ms a
// transaction; the sends alone take 40 ms each.
void BM_SimWriteAllValuesAt40ms(benchmark::State& state) {
    DemoSetpoints demo;
    std::vector<std::pair<lns::Ref<lns::ConfigProperty>, QString>> values;
    for (int index = 1; index <= demo.cps->Count(); ++index) {
        const auto property = demo.cps->Item(index);
        values.emplace_back(property, property->FormattedElement(0));
    }
    demo.server.setLatency(40);
    for (auto _ : state) {
        for (const auto& [property, text] : values)
            property->setFormattedElement(0, text);
    }
    state.counters["sends_ms"] = 40.0 * static_cast<double>(values.size());
}
BENCHMARK(BM_SimWriteAllValuesAt40ms)->Unit(benchmark::kMillisecond)->Iterations(3);

// The host's opening of a network whose database exists already.
void BM_OpenDemoBuilding(benchmark::State& state) {
    const KitDatabases databases;
    OpenDemo{databases.folder.path()}; // creates the database from the description
    for (auto _ : state)
        OpenDemo{databases.folder.path()}.network->Close();
}
BENCHMARK(BM_OpenDemoBuilding)->Unit(benchmark::kMillisecond);

} // namespace
