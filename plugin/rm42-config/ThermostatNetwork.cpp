// SPDX-License-Identifier: Apache-2.0
#include "ThermostatNetwork.h"

#include "DeviceConfiguration.h"
#include "EchoedText.h"
#include "automation/NetworkOpening.h"
#include "lns/LnsCodes.h"
#include "lns/LonWorksPlatform.h"
#include "model/DisplayUnits.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/StringTable.h"
#include "support/CRegistry.h"

namespace {

constexpr int PlugInNameResource = 101;
constexpr int ProgramIdResource = 130;

// The object when the look-up finds it, nothing when it is not there; any
// other failure goes on to the caller.
template <class Lookup> auto findOrNothing(Lookup lookup) -> decltype(lookup()) {
    try {
        return lookup();
    } catch (const Error& error) {
        if (error.lnsCode() != lns::Code::NotFound)
            throw;
        return nullptr;
    }
}

DeviceTarget failedTarget(const QString& path, const Error& error) {
    return {path, nullptr, QStringLiteral("cannot be looked up: ") + oneLine(error.description()),
            QString(), QString()};
}

DeviceTarget foundTarget(const QString& subsystemName, const QString& deviceName,
                         lns::Ref<lns::AppDevice> device) {
    return {subsystemName + u'/' + deviceName, std::move(device), QString(), subsystemName,
            deviceName};
}

} // namespace

QString thermostatProgramId() {
    return StringTable::text(ProgramIdResource);
}

qint16 storedDisplayUnits() {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    const QString plugInKey = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\") +
                              StringTable::text(PlugInNameResource);
    return static_cast<qint16>(rules::unitSystemFromStored(
        CRegistry(store).MachineSetting(plugInKey, QStringLiteral("DisplayUnits"))));
}

ThermostatNetwork::ThermostatNetwork(const QString& name, const QString& networkInterfaceName)
    : m_networkInterfaceName(networkInterfaceName), m_store(PlatformRoot::settingsStoreFile()) {
    try {
        const std::unique_ptr<lns::LonWorksPlatform> platform = lns::lonWorksPlatform(m_store);
        platform->requireNetworkName(name);
        m_state.ObjectServer = platform->objectServer();
        openNetworkOf(m_state, name, networkInterfaceName);
    } catch (const Error& error) {
        throw InputProblem(
            QStringLiteral("cannot open the network \"%1\"%2: %3")
                .arg(name,
                     networkInterfaceName.isEmpty()
                         ? QString()
                         : QStringLiteral(" through \"%1\"").arg(networkInterfaceName),
                     error.description()));
    }
}

ThermostatNetwork::~ThermostatNetwork() {
    try {
        if (m_state.CurrentSystem)
            m_state.CurrentSystem->Close();
        if (m_state.CurrentNetwork)
            m_state.CurrentNetwork->Close();
        if (m_state.ObjectServer && m_state.ServerOpen)
            m_state.ObjectServer->Close();
    } catch (const Error&) {
        // Every write was committed as it was made: nothing is lost here.
    }
}

std::unique_ptr<ThermostatNetwork> ThermostatNetwork::openedAgain() const {
    return std::make_unique<ThermostatNetwork>(name(), m_networkInterfaceName);
}

DeviceTarget ThermostatNetwork::device(const QString& name) const {
    try {
        return lookUp(name);
    } catch (const Error& error) {
        return failedTarget(name, error);
    }
}

DeviceTarget ThermostatNetwork::lookUp(const QString& name) const {
    const auto subsystems = system()->Subsystems();
    if (name.contains(u'/')) {
        const QString subsystemName = name.section(u'/', 0, -2);
        const QString deviceName = name.section(u'/', -1);
        const auto device = findOrNothing(
            [&] { return subsystems->Item(subsystemName)->AppDevices()->Item(deviceName); });
        if (!device)
            throw InputProblem(QStringLiteral("no device \"%1\" in the network \"%2\"")
                                   .arg(echoed(name), this->name()));
        return foundTarget(subsystemName, deviceName, device);
    }
    std::vector<DeviceTarget> found;
    for (int s = 1; s <= subsystems->Count(); ++s) {
        const auto subsystem = subsystems->Item(s);
        if (const auto device = findOrNothing([&] { return subsystem->AppDevices()->Item(name); }))
            found.push_back(foundTarget(subsystem->Name(), name, device));
    }
    if (found.empty())
        throw InputProblem(QStringLiteral("no device \"%1\" in the network \"%2\"")
                               .arg(echoed(name), this->name()));
    if (found.size() > 1)
        throw InputProblem(QStringLiteral("the name \"%1\" is in several subsystems of the "
                                          "network \"%2\": give SUBSYSTEM/DEVICE")
                               .arg(echoed(name), this->name()));
    return found.front();
}

std::vector<DeviceTarget> ThermostatNetwork::subsystemThermostats(const QString& subsystem) const {
    try {
        const auto found = findOrNothing([&] { return system()->Subsystems()->Item(subsystem); });
        if (!found)
            throw InputProblem(QStringLiteral("no subsystem \"%1\" in the network \"%2\"")
                                   .arg(echoed(subsystem), name()));
        return thermostatsOf(found);
    } catch (const Error& error) {
        return {failedTarget(subsystem, error)};
    }
}

std::vector<DeviceTarget> ThermostatNetwork::allThermostats() const {
    std::vector<DeviceTarget> all;
    try {
        const auto subsystems = system()->Subsystems();
        for (int s = 1; s <= subsystems->Count(); ++s) {
            try {
                for (DeviceTarget& target : thermostatsOf(subsystems->Item(s)))
                    all.push_back(std::move(target));
            } catch (const Error& error) {
                all.push_back(failedTarget(QStringLiteral("subsystem %1").arg(s), error));
            }
        }
    } catch (const Error& error) {
        all.push_back(failedTarget(name(), error));
    }
    return all;
}

std::vector<DeviceTarget>
ThermostatNetwork::thermostatsOf(const lns::Ref<lns::Subsystem>& subsystem) const {
    std::vector<DeviceTarget> thermostats;
    const QString subsystemName = subsystem->Name();
    const auto devices = subsystem->AppDevices();
    const QString programId = thermostatProgramId();
    for (int d = 1; d <= devices->Count(); ++d) {
        try {
            const auto device = devices->Item(d);
            if (device->ProgramId() == programId)
                thermostats.push_back(foundTarget(subsystemName, device->Name(), device));
        } catch (const Error& error) {
            thermostats.push_back(
                failedTarget(subsystemName + QStringLiteral("/device %1").arg(d), error));
        }
    }
    return thermostats;
}

DeviceTarget ThermostatNetwork::sameDeviceAs(const DeviceTarget& target) const {
    if (!target.device)
        return target;
    try {
        const auto device = system()
                                ->Subsystems()
                                ->Item(target.subsystemName)
                                ->AppDevices()
                                ->Item(target.deviceName);
        return {target.path, device, QString(), target.subsystemName, target.deviceName};
    } catch (const Error& error) {
        return failedTarget(target.path, error);
    }
}
