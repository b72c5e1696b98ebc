#pragma once

#include "lns/sim/NetworkDatabase.h"
#include "lns/sim/RecordStore.h"

#include <functional>
#include <memory>

namespace lns::sim {

// The store of one row of a network database (a system's settings, a device
// template, a device): a change to any record inside it is one transaction
// that writes the row.
class NetworkDocument : public RecordStore {
public:
    NetworkDocument(std::shared_ptr<NetworkDatabase> database, std::function<void()> save)
        : m_database(std::move(database)), m_save(std::move(save)) {}

    SimServerState& server() const override { return m_database->server(); }
    void beginCall(const QString& line) override { m_database->beginCall(line); }
    void commit(const std::function<void()>& change, const std::function<void()>& undo) override {
        m_database->transact(change, m_save, undo);
    }

    bool savesNewItemsWithTheirFirstChange() const override { return true; }

    const std::shared_ptr<NetworkDatabase>& database() const { return m_database; }

private:
    std::shared_ptr<NetworkDatabase> m_database;
    std::function<void()> m_save;
};

} // namespace lns::sim
