// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: registry key names as users and callers write them.
#include "platform/RegistryKeyName.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto name = RegistryKeyName::parse(text)) {
        const auto again = RegistryKeyName::parse(name->fullName());
        if (!again || again->hive != name->hive || again->path != name->path)
            __builtin_trap();
    }
    return 0;
}
