// SPDX-License-Identifier: Apache-2.0
#include "model/EditingRules.h"

#include <benchmark/benchmark.h>

namespace {

const rules::SetpointTexts Setpoints{
    QStringLiteral("21.5"), QStringLiteral("18"), QStringLiteral("22"), QStringLiteral("28"),
    QStringLiteral("25"),   QStringLiteral("15"), QStringLiteral("2")};

// One keystroke's worth of rules: a Page Up on the occupied heating
// setpoint, then the setpoint rules as the box is left.
void BM_KeystrokeRules(benchmark::State& state) {
    for (auto _ : state) {
        rules::SetpointTexts texts = Setpoints;
        texts.occHeat = *rules::steppedText(texts.occHeat, true, 0);
        benchmark::DoNotOptimize(rules::adjustmentsLeavingTextBox(0, texts));
    }
}

// Apply's range check of one box sitting on its maximum.
void BM_RangeCheck(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            rules::checkRange(QStringLiteral("40"), QStringLiteral("Occupied cool setpoint"),
                              QStringLiteral("37.5"), QStringLiteral("12"), true, 0));
}

} // namespace

BENCHMARK(BM_KeystrokeRules);
BENCHMARK(BM_RangeCheck);
