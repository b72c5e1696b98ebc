// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFields.h"
#include "lns/ObjectServer.h"
#include "model/ModelLayout.h"

#include <QString>
#include <functional>

// One thermostat of an open network, read as the configuration window reads
// it: the HVAC type first, which decides the form of the general options,
// then every value in catalog order.
class Thermostat {
public:
    // `path` is "SUBSYSTEM/DEVICE", as the output names it.
    Thermostat(const lns::Ref<lns::System>& system, lns::Ref<lns::AppDevice> device, QString path,
               qint16 unitSystem);

    // Reads every value; `readingLogged` hears each value read. Throws Error.
    void read(const std::function<void(const CNvCpTable&)>& readingLogged = {});

    const QString& path() const { return m_path; }
    lns::AppDevice& device() { return *m_device; }
    ConfigurationFields& fields() { return m_fields; }
    const ConfigurationFields& fields() const { return m_fields; }

    QString hvacType() const;
    bool isHeatPump() const { return isHeatPumpType(hvacType()); }
    // The model number of the raw model value; 0 when unknown.
    qint16 model() const;
    // The window's layout for the model; for an unknown model the HVAC type
    // decides between the heat-pump and the economizer options.
    ModelLayout layout() const;

    static bool isHeatPumpType(const QString& hvacType);
    // Gives the general options the form of the HVAC type, as the device has.
    static void formGeneralOptions(ConfigurationFields& fields, const QString& hvacType);

private:
    lns::Ref<lns::System> m_system;
    lns::Ref<lns::AppDevice> m_device;
    QString m_path;
    ConfigurationFields m_fields;
};

// The state word of the device as the window's status bar shows it:
// "Not Commissioned yet", "?" when the test fails, else the state's word.
QString deviceStateWord(lns::AppDevice& device);
