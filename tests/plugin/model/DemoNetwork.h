// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/SimObjectServer.h"

#include <QTemporaryDir>
#include <memory>
#include <vector>

// A copy of the kit's LonWorks folder with its simulated Object Server, one of
// its networks and that network's system opened.
class DemoNetwork {
public:
    explicit DemoNetwork(const QString& networkName = QStringLiteral("Demo Building"));

    lns::sim::SimObjectServer& server() { return *m_server; }
    const lns::Ref<lns::System>& system() const { return m_system; }
    // Every device of the system, subsystem by subsystem.
    std::vector<lns::Ref<lns::AppDevice>> devices() const;
    lns::Ref<lns::AppDevice> device(const QString& subsystem, const QString& name) const;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<lns::sim::SimObjectServer> m_server;
    lns::Ref<lns::System> m_system;
};
