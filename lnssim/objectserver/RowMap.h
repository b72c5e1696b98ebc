// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace lns::sim {

// The records of a network's rows by row id, in id order, kept in one block:
// a run with a device in flight per opening of a network of thousands of
// devices holds one such map per opening. Rows come in id order when a
// network is read, and new rows take the highest ids, so adding one is
// nearly always appending.
template <class Record> class RowMap {
public:
    using Entry = std::pair<qint64, Shared<Record>>;
    using iterator = typename std::vector<Entry>::iterator;

    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }

    iterator find(qint64 id) {
        const iterator at = lowerBound(id);
        return at != end() && at->first == id ? at : end();
    }

    Shared<Record>& operator[](qint64 id) {
        iterator at = lowerBound(id);
        if (at == end() || at->first != id)
            at = m_entries.insert(at, Entry(id, nullptr));
        return at->second;
    }

    size_t erase(qint64 id) {
        const iterator at = find(id);
        if (at == end())
            return 0;
        m_entries.erase(at);
        return 1;
    }

    // Whether any was erased.
    template <class Predicate> bool eraseIf(Predicate gone) {
        return std::erase_if(m_entries, [&](const Entry& entry) { return gone(entry.first); }) >
               0;
    }

    void clear() { m_entries.clear(); }

private:
    iterator lowerBound(qint64 id) {
        if (!m_entries.empty() && m_entries.back().first < id)
            return end();
        return std::lower_bound(begin(), end(), id,
                                [](const Entry& entry, qint64 key) { return entry.first < key; });
    }

    std::vector<Entry> m_entries;
};

} // namespace lns::sim
