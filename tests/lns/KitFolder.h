#pragma once

#include "KitCopy.h"
#include "lns/sim/SimObjectServer.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh LonWorks folder holding a copy of the kit's networks, server
// settings and interface files, and a simulated Object Server over it.
class KitFolder {
public:
    KitFolder() {
        for (const char* part : {"Databases", "Import", "ObjectServer.json"})
            copyFromKit(QLatin1String(part), path() + u'/' + QLatin1String(part));
    }

    QString path() const { return m_dir.path(); }
    QString networkFile(const QString& network) const {
        return path() + QStringLiteral("/Databases/") + network + QStringLiteral("/network.json");
    }

private:
    QTemporaryDir m_dir;
};

// The server with "Demo Building" and its system 1 open.
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

    lns::Ref<lns::ConfigProperty> property(const QString& subsystem, const QString& deviceName,
                                           const QString& cpName) const {
        return device(subsystem, deviceName)
            ->Interface()
            ->LonMarkObjects()
            ->Item(QStringLiteral("Thermostat"))
            ->ConfigProperties()
            ->Item(cpName);
    }

    lns::sim::SimObjectServer server;
    lns::Ref<lns::Network> network;
    lns::Ref<lns::System> system;
};

// The LNS code of the Error that `call` throws, or -1 when it throws none.
template <class Call> int lnsCodeOf(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return error.lnsCode();
    }
    return -1;
}
