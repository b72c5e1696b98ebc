// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: configuration files of rm42-config, as a person may edit them.
#include "ConfigurationFields.h"
#include "ConfigurationFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ConfigurationFields catalog(1);
    const QByteArray contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const ConfigurationFile file = parseConfigurationFile(
            QStringLiteral("fuzz.json"), contents, QStringLiteral("8003DB5500040421"), catalog);
        // Whatever is read writes out and reads back the same.
        const ConfigurationFile again = parseConfigurationFile(
            QStringLiteral("again.json"), configurationJson(file), file.programId, catalog);
        if (again.fields != file.fields)
            __builtin_trap();
    } catch (const FileProblem&) {
    }
    return 0;
}
