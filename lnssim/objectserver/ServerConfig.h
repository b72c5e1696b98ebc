// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/RecordStore.h"

#include <QStringList>
#include <memory>

namespace lns::sim {

// What belongs to the Object Server rather than to one network, kept in
// <LonWorks>/ObjectServer.json: { "remoteNetworkInterfaces": ["name", ...],
// "componentApps": [...] }. A missing file means none of either.
class ServerConfig : public RecordStore {
public:
    explicit ServerConfig(std::shared_ptr<SimServerState> server);

    SimServerState& server() const override { return *m_server; }
    QString file() const;

    // Reads the file on first use; a bad file fails with DatabaseInvalid each time.
    const QStringList& remoteNetworkInterfaces();
    SharedList<ComponentAppRecord>& componentApps();

    void commit(const std::function<void()>& change, const std::function<void()>& undo) override;

private:
    void save();
    void load();

    std::shared_ptr<SimServerState> m_server;
    bool m_loaded = false;
    QStringList m_remoteNetworkInterfaces;
    SharedList<ComponentAppRecord> m_componentApps;
};

} // namespace lns::sim
