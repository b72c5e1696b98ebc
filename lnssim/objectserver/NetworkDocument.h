// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/NetworkDatabase.h"
#include "objectserver/RecordStore.h"

#include <functional>
#include <memory>

namespace lns::sim {

// The store of one row of a network database (a system's settings, a device
// template, a device): a change to any record inside it is one transaction
// that writes the row, or only the part of it that changed.
class NetworkDocument : public RecordStore {
public:
    using SavePart = std::function<void(const RecordPart&)>;

    NetworkDocument(std::shared_ptr<NetworkDatabase> database, std::function<void()> save,
                    SavePart savePart)
        : m_database(std::move(database)), m_save(std::move(save)),
          m_savePart(std::move(savePart)) {}

    SimServerState& server() const override { return m_database->server(); }
    void carryTransaction() override { m_database->carryTransaction(); }
    void beginCall(const QString& line) override { m_database->beginCall(line); }
    void commit(const std::function<void()>& change, const std::function<void()>& undo) override {
        m_database->transact(change, m_save, undo);
    }

    void commitPart(const RecordPart& part, const std::function<void()>& change,
                    const std::function<void()>& undo) override {
        m_database->transact(
            change, [&] { m_savePart(part); }, undo);
    }

    bool holdsNewItems() const override { return true; }
    void holdNewItem(const RecordPart& part, std::function<void()> take,
                     std::function<void()> drop) override {
        m_database->holdUntilNextCall(
            {std::move(take), [save = m_savePart, part] { save(part); }, std::move(drop)});
    }

    const std::shared_ptr<NetworkDatabase>& database() const { return m_database; }

private:
    std::shared_ptr<NetworkDatabase> m_database;
    std::function<void()> m_save;
    SavePart m_savePart;
};

} // namespace lns::sim
