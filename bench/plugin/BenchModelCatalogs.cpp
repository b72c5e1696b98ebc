// SPDX-License-Identifier: Apache-2.0
// Opening a device as the configuration window does: both catalogs built and
// all 19 values read from the simulated Object Server, once without network
// latency and once at 40 ms a transaction (19 transactions: the catalog's
// overhead is the time above 760 ms).
#include "model/CpLookup.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldCatalog.h"
#include "model/FieldControls.h"
#include "model/Specific.h"
#include "objectserver/SimObjectServer.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int ValueCount = 19;

// No box is expected; one would end the lookup.
class AbortingDialogs : public Dialogs {
public:
    DialogAnswer message(const MessageRequest&) override { return DialogAnswer::Abort; }
    QString openFile(const FileRequest&) override { return QString(); }
    QString saveFile(const FileRequest&) override { return QString(); }
};

class Blank : public FieldControl {
public:
    Kind kind() const override { return Kind::TextBox; }
    QString text() const override { return QString(); }
    bool isEnabled() const override { return true; }
    void setEnabled(bool) override {}
};

FieldControls blankControls() {
    FieldControls controls;
    const auto blank = std::make_shared<Blank>();
    controls.txtNvi.fill(blank);
    controls.cbNvi.fill(blank);
    controls.txtDebug = controls.lbModel = controls.lbHvacType = blank;
    return controls;
}

struct DemoDevice {
    QTemporaryDir folder;
    std::unique_ptr<lns::sim::SimObjectServer> server;
    lns::Ref<lns::System> system;
    lns::Ref<lns::AppDevice> device;

    DemoDevice() {
        const QString databases = QStringLiteral(RM42_KIT_DIR "/Databases");
        QDirIterator files(databases, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            const QString target = folder.path() + QStringLiteral("/Databases/") +
                                   QDir(databases).relativeFilePath(source);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(source, target);
        }
        server = std::make_unique<lns::sim::SimObjectServer>(folder.path());
        server->Open();
        const auto network = server->Networks()->Item(QStringLiteral("Demo Building"));
        network->Open();
        system = network->Systems()->Item(1);
        system->Open();
        device = system->Subsystems()
                     ->Item(QStringLiteral("Floor 1"))
                     ->AppDevices()
                     ->Item(QStringLiteral("RTU-1"));
    }
};

void BM_OpenDeviceCatalogs(benchmark::State& state) {
    DemoDevice demo;
    demo.server->setLatency(static_cast<int>(state.range(0)));
    AbortingDialogs dialogs;
    const FieldControls controls = blankControls();
    Specific specific;
    for (auto _ : state) {
        const auto nvs = demo.device->Interface()->NetworkVariables();
        BuildNvCpTables(
            specific,
            [&](const QString& path) { return GetCpByTypeIndex(path, demo.device, nvs, dialogs); },
            demo.system);
        BuildNvCtrlTables(specific, controls);
        for (int position = 1; position <= specific.NvCpTables.Count(); ++position)
            specific.NvCpTables.Item(position)->GetNetworkValue();
        demo.server->clearJournal();
    }
    state.counters["transactions_ms"] = static_cast<double>(ValueCount * state.range(0));
}
BENCHMARK(BM_OpenDeviceCatalogs)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDeviceCatalogs)->Arg(40)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
