// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace lns::sim {

// The devices of one network database file as the openings in this process
// read them, without their interfaces. A program that opens a large network
// once per thread (a device in flight each) would otherwise hold one copy of
// every device per opening; the openings share these records instead, read
// only, until one hands a device to a caller and takes a copy of its own
// (NetworkDatabase::ownDevice).
class SharedDeviceHeads {
public:
    // A file's device and inode, which a replacement does not share.
    using FileIdentity = std::pair<quint64, quint64>;
    using Read = std::function<Shared<AppDeviceRecord>()>;

    // The heads of the file, kept while an opening holds them.
    static std::shared_ptr<SharedDeviceHeads> of(const FileIdentity& file);

    // The device of row `rowId` at `revision` under `parent`: the one an
    // opening read already, or what `read` reads now. What it returns is
    // marked shared and must not be changed.
    Shared<AppDeviceRecord> head(qint64 rowId, qint64 revision, qint64 parent, const Read& read);

private:
    std::mutex m_mutex;
    std::unordered_map<qint64, Shared<AppDeviceRecord>> m_heads;
};

} // namespace lns::sim
