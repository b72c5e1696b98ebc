// SPDX-License-Identifier: Apache-2.0
// MachineSetting read and committed write against a settings store file.
#include "platform/SettingsStore.h"
#include "support/CRegistry.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString Section =
    QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Zentaro PIR ready RM42xx Configure");

void MachineSettingRead(benchmark::State& state) {
    QTemporaryDir dir;
    SettingsStore store(dir.path() + QStringLiteral("/registry.sqlite3"));
    CRegistry registry(store);
    registry.MachineSetting(Section, QStringLiteral("Version"), QStringLiteral("1.0.0"));
    for (auto _ : state)
        benchmark::DoNotOptimize(registry.MachineSetting(Section, QStringLiteral("Version")));
}
// Repetitions give the median among the aggregates.
BENCHMARK(MachineSettingRead)->Repetitions(5);

void MachineSettingWrite(benchmark::State& state) {
    QTemporaryDir dir;
    SettingsStore store(dir.path() + QStringLiteral("/registry.sqlite3"));
    CRegistry registry(store);
    int n = 0;
    for (auto _ : state)
        registry.MachineSetting(Section, QStringLiteral("Version"), QString::number(++n));
}
BENCHMARK(MachineSettingWrite)->Repetitions(5);

} // namespace
