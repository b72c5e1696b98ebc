// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: external interface files as they come from the import folder.
#include "objectserver/XifReader.h"
#include "platform/Error.h"

#include <QSet>
#include <cstddef>
#include <cstdint>

namespace {

bool isProgramId(const QString& id) {
    if (id.size() != 16)
        return false;
    for (const QChar c : id) {
        if (!c.isDigit() && (c < QLatin1Char('A') || c > QLatin1Char('F')))
            return false;
    }
    return true;
}

// Every element of a property holds the same number of bytes.
void checkProperties(const lns::sim::SharedList<lns::sim::ConfigPropertyRecord>& properties) {
    for (const auto& property : properties) {
        if (property->elements.empty())
            __builtin_trap();
        for (const QByteArray& element : property->elements) {
            if (element.size() != property->elements.front().size())
                __builtin_trap();
        }
    }
}

// LonMark objects are numbered by their place; variable indices are unique and
// within what a device holds.
void checkIndices(const lns::sim::InterfaceRecord& interface) {
    for (size_t position = 0; position < interface.lonMarkObjects.size(); ++position) {
        if (interface.lonMarkObjects[position]->index != static_cast<int>(position))
            __builtin_trap();
    }
    QSet<int> seen;
    for (const auto& variable : interface.networkVariables) {
        if (variable->index < 0 || variable->index > 65534 || seen.contains(variable->index))
            __builtin_trap();
        seen.insert(variable->index);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const lns::sim::XifDocument document = lns::sim::XifReader::parse(content, "fuzz.XIF");
        if (!isProgramId(document.programId))
            __builtin_trap();
        checkIndices(*document.interface);
        checkProperties(document.interface->configProperties);
        for (const auto& object : document.interface->lonMarkObjects)
            checkProperties(object->configProperties);
        for (const auto& variable : document.interface->networkVariables)
            checkProperties(variable->configProperties);
    } catch (const Error&) {
        // Refused with a message: the expected outcome for most inputs.
    }
    return 0;
}
