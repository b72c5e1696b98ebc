// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/ServerConfig.h"
#include "objectserver/SimServerState.h"

#include <QStringList>
#include <map>
#include <memory>

namespace lns::sim {

// The simulated LNS Object Server over a LonWorks folder (native path):
//   <LonWorks>/Databases/<network name>/   one network each (NetworkDatabase):
//       network.sqlite3 the live network, shared by every process that opens it;
//       network.json    its description, loaded when there is no database yet
//   <LonWorks>/ObjectServer.json           remote interfaces, server-wide
//                                          component applications
//   <LonWorks>/Import                      external interface files
// LNS_SIM_LATENCY_MS sets the time of one device transaction (default 0);
// each network's devices share a channel of the capacity its description
// gives (SimChannel), which LNS_SIM_CHANNEL_CAPACITY replaces: transactions
// a second, 0 for no limit;
// LNS_SIM_KILL_AT_CALL=n kills the process at its n-th call, for tests of
// what a killed process leaves behind.
class SimObjectServer : public ObjectServer {
public:
    explicit SimObjectServer(const QString& lonWorksFolder);

    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    bool Remote() const override;
    void setRemote(bool remote) override;
    void setAutoOpen(bool autoOpen) override;
    qint32 Flags() const override;
    void setFlags(qint32 flags) override;
    Ref<lns::NetworkInterfaces> RemoteNetworkInterfaces() const override;
    Ref<lns::NetworkInterface> ActiveRemoteNetworkInterface() const override;
    void setActiveRemoteNetworkInterface(const Ref<NetworkInterface>& networkInterface) override;
    Ref<lns::Networks> Networks() const override;
    Ref<lns::ComponentApps> ComponentApps() const override;
    void setEventListener(ObjectServerEvents* listener) override;

    // Simulation controls for tests and the host tool.
    const QStringList& journal() const { return m_state->journal.lines(); }
    // Whether journal() keeps the calls; the programs turn it off.
    void keepJournal(bool keep) { m_state->journal.keepInMemory(keep); }
    void clearJournal() { m_state->journal.clear(); }
    void setLatency(int milliseconds) { m_state->latencyMs = milliseconds; }
    // Transactions a second on every network's channel, 0 for no limit;
    // nothing gives each network its own again.
    void setChannelCapacity(std::optional<double> capacity) { m_state->channelCapacity = capacity; }
    const QString& lonWorksFolder() const { return m_state->lonWorksFolder; }
    // Why there is no LonWorks folder to open; Open() fails with it.
    void setUnavailableReason(const QString& reason) { m_unavailableReason = reason; }
    bool autoOpen() const { return m_autoOpen; }
    void raiseRepaint();
    void raiseMonitorValue(int monitorPoint, const QString& value);
    void raiseMonitorError(int tag);

private:
    void record(const QString& call) const;
    void requireOpen() const;
    QString databasesFolder() const;
    // One database object per network folder, kept while the server lives.
    SharedList<NetworkDatabase> databases() const;

    std::shared_ptr<SimServerState> m_state;
    std::shared_ptr<ServerConfig> m_config;
    mutable std::map<QString, Shared<NetworkDatabase>> m_databases;
    bool m_open = false;
    bool m_remote = false;
    bool m_autoOpen = true;
    qint32 m_flags = 0;
    QString m_activeRemoteInterface;
    QString m_unavailableReason;
    ObjectServerEvents* m_listener = nullptr;
};

} // namespace lns::sim
