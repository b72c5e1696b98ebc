// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: request lines of the automation protocol and the line
// cutter in front of them.
#include "automation/AutomationLineReader.h"
#include "automation/AutomationProtocol.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    AutomationLineReader reader(256);
    reader.feed(bytes);
    reader.finish();
    while (reader.hasLine()) {
        const AutomationLineReader::Line line = reader.takeLine();
        if (line.text.size() > 256)
            __builtin_trap();
        const auto parsed = AutomationProtocol::parseRequest(line.text);
        if (const auto* request = std::get_if<AutomationProtocol::Request>(&parsed)) {
            const auto again =
                AutomationProtocol::parseRequest(AutomationProtocol::formatRequest(*request));
            if (!std::holds_alternative<AutomationProtocol::Request>(again))
                __builtin_trap();
        }
    }
    return 0;
}
