#pragma once

#include "lns/sim/SimServerState.h"

#include <functional>

namespace lns::sim {

// A file that holds records: a network database or the server's own settings.
// Objects change records through commit(), so that a change that cannot be
// saved is undone and the caller sees the failure.
class RecordStore {
public:
    virtual ~RecordStore() = default;
    virtual SimServerState& server() const = 0;
    virtual void save() = 0;

    void commit(const std::function<void()>& change, const std::function<void()>& undo) {
        change();
        try {
            save();
        } catch (...) {
            undo();
            throw;
        }
    }
};

} // namespace lns::sim
