#pragma once

#include "lns/sim/SimServerState.h"

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

    // Journals the call and brings the records up to what other processes saved.
    virtual void beginCall(const QString& line) { server().beginCall(line); }
    virtual void commit(const std::function<void()>& change, const std::function<void()>& undo) = 0;
    // Whether a new item waits for its first change to be saved with it.
    virtual bool savesNewItemsWithTheirFirstChange() const { return false; }
};

} // namespace lns::sim
