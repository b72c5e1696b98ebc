// One formatted configuration-property read and one write through the
// simulated Object Server at zero latency. A write saves the network database
// (atomically, with fsync), so it costs what the file system's sync costs.
#include "KitCopy.h"
#include "lns/sim/SimObjectServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct DemoSetpoints {
    QTemporaryDir folder;
    lns::sim::SimObjectServer server;
    lns::Ref<lns::ConfigProperty> cp;

    DemoSetpoints() : server(folder.path()) {
        copyFromKit(QStringLiteral("Databases"), folder.path() + QStringLiteral("/Databases"));
        server.setLatency(0);
        server.Open();
        auto network = server.Networks()->Item(QStringLiteral("Demo Building"));
        network->Open();
        auto system = network->Systems()->Item(1);
        system->Open();
        cp = system->Subsystems()
                 ->Item(QStringLiteral("Floor 1"))
                 ->AppDevices()
                 ->Item(QStringLiteral("RTU-1"))
                 ->Interface()
                 ->LonMarkObjects()
                 ->Item(1)
                 ->ConfigProperties()
                 ->Item(QStringLiteral("nciSetPts"));
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
BENCHMARK(BM_SimCpWrite);

} // namespace
