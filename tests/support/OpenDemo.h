// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/SimObjectServer.h"

// A simulated Object Server over a LonWorks folder with one network and its
// system 1 open, and the way to a thermostat's properties in it.
struct OpenDemo {
    explicit OpenDemo(const QString& lonWorksFolder,
                      const QString& networkName = QStringLiteral("Demo Building"))
        : server(lonWorksFolder) {
        server.Open();
        network = server.Networks()->Item(networkName);
        network->Open();
        system = network->Systems()->Item(1);
        system->Open();
    }

    lns::Ref<lns::AppDevice> device(const QString& subsystem, const QString& name) const {
        return system->Subsystems()->Item(subsystem)->AppDevices()->Item(name);
    }

    lns::Ref<lns::ConfigProperties> properties(const QString& subsystem,
                                               const QString& deviceName) const {
        return device(subsystem, deviceName)
            ->Interface()
            ->LonMarkObjects()
            ->Item(QStringLiteral("Thermostat"))
            ->ConfigProperties();
    }

    lns::Ref<lns::ConfigProperty> property(const QString& subsystem, const QString& deviceName,
                                           const QString& cpName) const {
        return properties(subsystem, deviceName)->Item(cpName);
    }

    lns::sim::SimObjectServer server;
    lns::Ref<lns::Network> network;
    lns::Ref<lns::System> system;
};
