// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: object names sent by the host.
#include "automation/ObjectPath.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString name =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ObjectPath path = ObjectPath::split(name);
    for (int k = 0; k <= path.Count() + 1; ++k) {
        const QString element = path.Element(k);
        if ((k >= 1 && k <= path.Count()) == element.isEmpty())
            __builtin_trap();
        if (path.ElementName(k).size() > element.size())
            __builtin_trap();
    }
    return 0;
}
