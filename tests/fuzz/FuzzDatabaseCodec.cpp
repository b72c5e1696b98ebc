// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: network database files (network.json).
#include "objectserver/DatabaseCodec.h"
#include "platform/Error.h"

#include <QJsonDocument>
#include <cstddef>
#include <cstdint>

using namespace lns::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QJsonObject written;
    try {
        const NetworkRecord network =
            DatabaseCodec::readNetwork(JsonNode::parseDocument(content, "network.json"));
        written = DatabaseCodec::writeNetwork(network);
    } catch (const Error&) {
        return 0; // refused whole, with a message
    }
    // What was accepted must save and load back to the same content.
    const QByteArray saved = QJsonDocument(written).toJson();
    try {
        const NetworkRecord again =
            DatabaseCodec::readNetwork(JsonNode::parseDocument(saved, "network.json"));
        if (DatabaseCodec::writeNetwork(again) != written)
            __builtin_trap();
    } catch (const Error&) {
        __builtin_trap();
    }
    return 0;
}
