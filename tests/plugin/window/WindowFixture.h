// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "automation/CommandRegistration.h"
#include "automation/LNSPlugInAPI.h"
#include "automation/PlugInState.h"
#include "platform/SettingsStore.h"
#include "window/fMain.h"

#include <QStringList>
#include <memory>

class QWidget;

// The configuration window of a plug-in process over a fresh platform root
// laid out from the kit, driven through the real plug-in object: the host's
// calls go to `api`, the window's questions to `dialogs`.
class WindowFixture {
public:
    // `resourcesRegistered`: whether the maker's resource files are in the
    // LonMark resource catalog, as command 50 leaves them. `displayUnits`: the
    // stored "DisplayUnits" setting, none when empty.
    explicit WindowFixture(bool resourcesRegistered = true, const QString& displayUnits = {});
    ~WindowFixture();

    // Opens a network as the host does.
    void openNetwork(const QString& network);
    // Command 13 for a device ("Floor 1/RTU-1") of the open network, class 7.
    void configureDevice(const QString& subsystemAndDevice);
    // Command 13 for a LonMark object ("Floor 1/RTU-1/Obj:Thermostat"), class 28.
    void configureObject(const QString& path);

    // The texts of the activity log's rows, "Action | Results" each.
    QStringList logRows() const;
    // The stored "DisplayUnits" setting.
    QString storedDisplayUnits() const;
    // Changes a device's failure setting in the open network's database, as
    // another client of the network would ("" for none, "writeFails", ...).
    void setDeviceFailure(const QString& device, const QString& failure);
    // The same for one configuration property of a device.
    void setPropertyFailure(const QString& device, const QString& property, const QString& failure);
    // A property value as a second client of the network reads it now.
    QString storedValue(const QString& subsystemAndDevice, const QString& property,
                        const QString& formatSpec) const;

    TempPlatformRoot root;
    std::unique_ptr<SettingsStore> store;
    ScriptedDialogs dialogs;
    PlugInState state;
    QStringList progressTexts;
    std::unique_ptr<fMain> window;
    std::unique_ptr<LNSPlugInAPI> api;
    QString network;

private:
    class NoCommandRegistration : public CommandRegistration {
    public:
        bool RegisterCommands() override { return true; }
        bool RemoveCommands(bool, bool) override { return true; }
    };

    NoCommandRegistration m_registration;
    std::unique_ptr<PlugInServices> m_services;
};

// Writes a picture of every tab of the window into the build folder's
// "screenshots" folder, named after `prefix`.
void saveTabScreenshots(fMain& window, const QString& prefix);
