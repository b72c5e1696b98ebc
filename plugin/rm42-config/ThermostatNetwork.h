// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/PlugInState.h"
#include "platform/SettingsStore.h"

#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

// A device chosen on the command line; one that could not be looked up
// has no device and says why, so that the run reports it and goes on.
struct DeviceTarget {
    QString path; // "SUBSYSTEM/DEVICE"
    lns::Ref<lns::AppDevice> device;
    QString failure;
    // The names it was found by, to find it again in another opening.
    QString subsystemName;
    QString deviceName;
};

// Input the command cannot work with (an unknown network, device or
// subsystem): reported, nothing written, exit status 2.
class InputProblem : public std::runtime_error {
public:
    explicit InputProblem(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The thermostats' program ID, as the plug-in registers it.
QString thermostatProgramId();

// The display units the plug-in keeps for its window (Imperial unless set).
qint16 storedDisplayUnits();

// A network opened through the Object Server of the platform's LonWorks
// folder, the way the plug-in opens one for its host.
class ThermostatNetwork {
public:
    // Throws InputProblem naming the network when it cannot be opened.
    ThermostatNetwork(const QString& name, const QString& networkInterfaceName);
    // The same network opened again through an Object Server of its own, for
    // another thread; throws InputProblem.
    std::unique_ptr<ThermostatNetwork> openedAgain() const;
    ~ThermostatNetwork();
    ThermostatNetwork(const ThermostatNetwork&) = delete;
    ThermostatNetwork& operator=(const ThermostatNetwork&) = delete;

    const QString& name() const { return m_state.CurrentNetworkName; }
    const lns::Ref<lns::System>& system() const { return m_state.CurrentSystem; }
    const lns::Ref<lns::ObjectServer>& objectServer() const { return m_state.ObjectServer; }

    // "SUBSYSTEM/DEVICE", or a device name found in exactly one subsystem.
    // Throws InputProblem for a name that is not there; a failure of the
    // Object Server comes back as a target that failed.
    DeviceTarget device(const QString& name) const;
    // Every thermostat of the subsystem, or of the whole network; a device
    // or a subsystem that cannot be read is a target that failed.
    std::vector<DeviceTarget> subsystemThermostats(const QString& subsystem) const;
    std::vector<DeviceTarget> allThermostats() const;
    // The device of a target found in another opening of the network; a
    // target without a device stays as it is.
    DeviceTarget sameDeviceAs(const DeviceTarget& target) const;

private:
    DeviceTarget lookUp(const QString& name) const;
    std::vector<DeviceTarget> thermostatsOf(const lns::Ref<lns::Subsystem>& subsystem) const;

    QString m_networkInterfaceName;
    SettingsStore m_store;
    PlugInState m_state;
};
