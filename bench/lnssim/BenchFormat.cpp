// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FormatEngine.h"

#include <QString>
#include <benchmark/benchmark.h>

using lns::sim::FormatEngine;

namespace {

struct Sample {
    const char* spec;
    const char* text;
};

const Sample Samples[] = {
    {"SNVT_temp_setpt#US", "72.00,74.00,80.00,68.00,66.00,60.00"},
    {"UNVT_cfg_1_rtu_hp#SI",
     "0 24 0 120 0 3 3 32 12 -26 35 -2.5 2.5 1.5 ON ON OFF NO_LOCKOUT 2 FAHRENHEIT OFF NO_SCROLL"},
    {"UNVT_cfg_2_hp#US",
     "NONE FILTER NORMALLY_OPEN TWO_EVENTS ON B_NORMALLY_COOL TWO_STAGES 20 34 -40 ECONOMY OFF"},
    {"UCPTdaySched", "480 1020 0 1439"},
    {"UNVT_model_info2", "12 1.3"},
    {"SNVT_hvac_type", "HVT_HEAT_PUMP"},
    {"SNVT_time_sec", "60.0"},
    {"INT", "-1234"},
    {"SNVT_str_asc", "Floor 1, room 12 (north)"},
    {"RAW", "0C 01 03"},
};

void BM_FormatThenParse(benchmark::State& state) {
    const Sample& sample = Samples[state.range(0)];
    const QString spec = QString::fromUtf8(sample.spec);
    const QByteArray raw = FormatEngine::parse(spec, QString::fromUtf8(sample.text));
    for (auto _ : state) {
        const QString text = FormatEngine::format(spec, raw);
        benchmark::DoNotOptimize(FormatEngine::parse(spec, text));
    }
    state.SetLabel(sample.spec);
}

} // namespace

BENCHMARK(BM_FormatThenParse)->DenseRange(0, static_cast<int>(std::size(Samples)) - 1);
