// SPDX-License-Identifier: Apache-2.0
#include "DemoNetwork.h"

#include "KitCopy.h"

DemoNetwork::DemoNetwork(const QString& networkName) {
    copyFromKit(QString(), m_folder.path());
    m_server = std::make_unique<lns::sim::SimObjectServer>(m_folder.path());
    m_server->Open();
    const auto network = m_server->Networks()->Item(networkName);
    network->Open();
    m_system = network->Systems()->Item(1);
    m_system->Open();
}

std::vector<lns::Ref<lns::AppDevice>> DemoNetwork::devices() const {
    std::vector<lns::Ref<lns::AppDevice>> all;
    const auto subsystems = m_system->Subsystems();
    for (int s = 1; s <= subsystems->Count(); ++s) {
        const auto devices = subsystems->Item(s)->AppDevices();
        for (int d = 1; d <= devices->Count(); ++d)
            all.push_back(devices->Item(d));
    }
    return all;
}

lns::Ref<lns::AppDevice> DemoNetwork::device(const QString& subsystem, const QString& name) const {
    return m_system->Subsystems()->Item(subsystem)->AppDevices()->Item(name);
}
