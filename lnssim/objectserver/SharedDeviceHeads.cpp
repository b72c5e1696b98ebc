// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SharedDeviceHeads.h"

#include <map>

namespace lns::sim {

std::shared_ptr<SharedDeviceHeads> SharedDeviceHeads::of(const FileIdentity& file) {
    static std::mutex mutex;
    static std::map<FileIdentity, std::weak_ptr<SharedDeviceHeads>> files;
    const std::lock_guard lock(mutex);
    std::weak_ptr<SharedDeviceHeads>& held = files[file];
    std::shared_ptr<SharedDeviceHeads> heads = held.lock();
    if (!heads) {
        std::erase_if(files, [](const auto& entry) { return entry.second.expired(); });
        heads = std::make_shared<SharedDeviceHeads>();
        files[file] = heads;
    }
    return heads;
}

// Read outside the lock, so that openings do not wait on each other's
// reads; an opening whose snapshot is older than what another one read
// keeps its own reading to itself.
Shared<AppDeviceRecord> SharedDeviceHeads::head(qint64 rowId, qint64 revision, qint64 parent,
                                                const Read& read) {
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_heads.find(rowId);
        if (found != m_heads.end() && found->second->revision == revision &&
            found->second->parentRow == parent)
            return found->second;
    }
    Shared<AppDeviceRecord> fresh = read();
    fresh->shared = true;
    const std::lock_guard lock(m_mutex);
    Shared<AppDeviceRecord>& kept = m_heads[rowId];
    if (!kept || kept->revision < revision)
        kept = fresh;
    return fresh;
}

} // namespace lns::sim
