// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: property values typed by users and raw bytes read from
// devices, for every format. The first byte picks the format specifier.
#include "objectserver/FormatEngine.h"
#include "platform/Error.h"

#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>

using lns::sim::FormatEngine;

namespace {

const QStringList FormatNames = {"RAW",
                                 "SNVT_str_asc",
                                 "SNVT_temp_setpt",
                                 "UNVT_cfg_1_rtu_hp",
                                 "UNVT_cfg_2_rtu",
                                 "UNVT_cfg_2_hp",
                                 "UCPTdaySched",
                                 "UNVT_model_info2",
                                 "SNVT_hvac_type",
                                 "SNVT_time_sec",
                                 "INT"};
const QStringList UnitSuffixes = {"", "#SI", "#US"};

QString formatSpec(uint8_t selector) {
    const qsizetype name = selector % FormatNames.size();
    const qsizetype suffix = (selector / FormatNames.size()) % UnitSuffixes.size();
    return FormatNames.at(name) + UnitSuffixes.at(suffix);
}

std::optional<QByteArray> parsed(const QString& spec, const QString& text) {
    try {
        return FormatEngine::parse(spec, text);
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::optional<QString> formatted(const QString& spec, const QByteArray& raw) {
    try {
        return FormatEngine::format(spec, raw);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// Text the engine accepts gives a value that shows and reads back unchanged.
void checkTyped(const QString& spec, const QString& text) {
    const auto raw = parsed(spec, text);
    if (!raw)
        return;
    const int size = FormatEngine::rawSize(spec);
    if (size >= 0 && raw->size() != size)
        __builtin_trap();
    const auto shown = formatted(spec, *raw);
    if (!shown || parsed(spec, *shown) != raw)
        __builtin_trap();
}

// What the engine shows for raw bytes reads back to a value shown the same way
// (bytes after a string's terminator are not part of the value).
void checkRaw(const QString& spec, const QByteArray& raw) {
    const auto shown = formatted(spec, raw);
    if (!shown)
        return;
    const auto again = parsed(spec, *shown);
    if (again && formatted(spec, *again) != shown)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QString spec = formatSpec(data[0]);
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    checkTyped(spec, QString::fromUtf8(rest));
    checkRaw(spec, rest);
    return 0;
}
