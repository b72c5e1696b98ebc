// SPDX-License-Identifier: Apache-2.0
// What the configuration tool's benchmarks share: a generated site of many
// copies of the demo's thermostat, the file they apply, and which journal
// lines are device transactions.
#pragma once

#include "DeviceConfiguration.h"
#include "KitCopy.h"
#include "Thermostat.h"
#include "platform/SettingsStore.h"
#include "support/CRegistry.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

inline constexpr int DeviceCount = 100;
inline constexpr int TransactionMs = 40;
inline const QString Generated = QStringLiteral("Generated Site");

// A platform root whose LonWorks folder holds the kit and a network of
// DeviceCount copies of the demo's RTU-1 in the subsystem "Building", with
// more subsystems of as many copies each for a large site.
class GeneratedSite {
public:
    explicit GeneratedSite(int subsystemCount = 1) {
        qputenv("LNS_PLATFORM_ROOT", m_root.path().toUtf8());
        const QString lonWorks = m_root.path() + QStringLiteral("/LonWorks");
        copyFromKit(QString(), lonWorks);
        writeGeneratedNetwork(lonWorks, subsystemCount);
        SettingsStore store(m_root.path() + QStringLiteral("/registry.sqlite3"));
        CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                        QStringLiteral("LonWorks Path"), lonWorks);
    }

    QString path(const QString& name) const { return m_root.path() + u'/' + name; }

private:
    static void writeGeneratedNetwork(const QString& lonWorks, int subsystemCount) {
        QFile demo(lonWorks + QStringLiteral("/Databases/Demo Building/network.json"));
        demo.open(QIODevice::ReadOnly);
        QJsonObject network = QJsonDocument::fromJson(demo.readAll()).object();
        QJsonArray systems = network.value(QStringLiteral("systems")).toArray();
        QJsonObject system = systems.first().toObject();
        const QJsonObject rtu1 = system.value(QStringLiteral("subsystems"))
                                     .toArray()
                                     .first()
                                     .toObject()
                                     .value(QStringLiteral("devices"))
                                     .toArray()
                                     .first()
                                     .toObject();
        QJsonArray devices;
        for (int i = 1; i <= DeviceCount; ++i) {
            QJsonObject device = rtu1;
            device.insert(QStringLiteral("name"),
                          QStringLiteral("RTU-%1").arg(i, 3, 10, QLatin1Char('0')));
            devices.append(device);
        }
        QJsonArray subsystems;
        for (int s = 0; s < subsystemCount; ++s)
            subsystems.append(
                QJsonObject{{QStringLiteral("name"), s == 0 ? QStringLiteral("Building")
                                                            : QStringLiteral("Wing %1").arg(s)},
                            {QStringLiteral("devices"), devices}});
        system.insert(QStringLiteral("subsystems"), subsystems);
        systems.replace(0, system);
        network.insert(QStringLiteral("systems"), systems);
        QDir().mkpath(lonWorks + QStringLiteral("/Databases/") + Generated);
        QFile out(lonWorks + QStringLiteral("/Databases/") + Generated +
                  QStringLiteral("/network.json"));
        out.open(QIODevice::WriteOnly);
        out.write(QJsonDocument(network).toJson());
    }

    QTemporaryDir m_root;
};

// The configuration of the first device with a setpoint and an option changed,
// so every device gets two sends.
inline ConfigurationFile commissioningFile(const ThermostatNetwork& network) {
    const DeviceTarget first = network.device(QStringLiteral("Building/RTU-001"));
    Thermostat thermostat(network.system(), first.device, first.path,
                          ConfigurationFile::SavedUnitSystem);
    thermostat.read();
    ConfigurationFile file = configurationOf(thermostat, network.name());
    file.fields.insert(QStringLiteral("occ_heat_setpts"), QStringLiteral("69"));
    file.fields.insert(QStringLiteral("password"), QStringLiteral("42"));
    return file;
}

inline bool isTransaction(const QString& call) {
    for (const char* kind :
         {"ConfigProperty.FormattedValue ", "ConfigProperty.FormattedElement ",
          "ConfigProperty.setFormattedElement ", "ConfigProperty.updateFormattedElement ",
          "AppDevice.Test ", "AppDevice.State ", "ConfigProperty.FetchElement "}) {
        if (call.startsWith(QLatin1String(kind)))
            return true;
    }
    return false;
}
