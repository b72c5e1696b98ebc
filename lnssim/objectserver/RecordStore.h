// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/SimServerState.h"

#include <QString>
#include <functional>

namespace lns::sim {

// Where records are kept: a row of a network database or the server's own
// settings. Objects start each call with beginCall() and change records
// through commit(), so that a change that cannot be saved is undone and the
// caller sees the failure.
class RecordStore {
public:
    virtual ~RecordStore() = default;
    virtual SimServerState& server() const = 0;
    // Stands for the time a read, write or test of a device takes on the
    // network's channel; only the stores of devices have one.
    virtual void carryTransaction() {}

    // Journals the call and brings the records up to what other processes saved.
    virtual void beginCall(const QString& line) { server().beginCall(line); }
    virtual void commit(const std::function<void()>& change, const std::function<void()>& undo) = 0;
    // A change of one part of the record: stores that can write just that part do.
    virtual void commitPart(const RecordPart& part, const std::function<void()>& change,
                            const std::function<void()>& undo) {
        (void)part;
        commit(change, undo);
    }
    // Whether a new item is held by this process, gathering its fields, until
    // its next call saves it whole.
    virtual bool holdsNewItems() const { return false; }
    // Holds a new item of `part`: `take` marks it as saved just before `part`
    // is written; `drop` removes it when that fails.
    virtual void holdNewItem(const RecordPart& part, std::function<void()> take,
                             std::function<void()> drop) {
        (void)part;
        (void)take;
        (void)drop;
    }
};

} // namespace lns::sim
