// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ProgressWindow.h"
#include "lns/ObjectServer.h"
#include "platform/Dialogs.h"
#include "registration/RegistrationOperations.h"

#include <QString>
#include <functional>

class ProcessLauncher;
class SettingsStore;

// What plug-in registration works with.
struct PlugInRegistrationContext {
    SettingsStore& store;
    Dialogs& dialogs;
    ProcessLauncher& launcher;
    QString executablePath;
    // The configuration window's Object Server control (loads the window hidden).
    std::function<lns::Ref<lns::ObjectServer>()> objectServer;
    ProgressWindowFactory progressWindow;
    // Removes the plug-in's commands from the open system of one network.
    std::function<void(const lns::Ref<lns::System>& system, bool exhaustive, bool firstNetwork)>
        removeCommands;
    std::function<void()> processEvents;
    // Tells whoever started the window that it has been unloaded.
    std::function<void()> showRegistrationWindow;
};

// Records the plug-in in the LNS plug-in registry of the machine and removes
// it again, with its commands in every network for the complete modes.
class PlugInRegistration : public RegistrationOperations {
public:
    static constexpr int ModeMinimal = -1;
    static constexpr int ModeComplete = 0;
    static constexpr int ModeExhaustive = 1;

    explicit PlugInRegistration(PlugInRegistrationContext context)
        : m_context(std::move(context)) {}

    void Register(bool interactive) override;
    void Deregister(int mode, bool interactive) override;
    void ShowRegistrationWindow() override;
    // True when the automation class of this run could not be recorded or
    // removed: the registration did not happen, and must not look as if it had.
    bool failed() const { return m_failed; }

    // The plug-in's key under HKEY_LOCAL_MACHINE.
    static QString PlugInKey();
    // Major and minor number of a version text ("1.2.7" gives 1 and 2).
    static std::pair<int, int> ParseVersion(const QString& version);

private:
    void writeRegistryValues();
    void removeCommandsFromAllNetworks(bool exhaustive, bool interactive);
    void removeFromNetwork(const lns::Ref<lns::Network>& network, bool exhaustive,
                           bool firstNetwork, ProgressWindow* progress);
    // Opens the system in engineered mode, else through its own interface.
    bool openSystem(const lns::Ref<lns::System>& system, const QString& opening,
                    const std::function<void(const QString&)>& status);
    void removeAutomationRegistration(bool interactive);
    void inform(const QString& text, DialogIcon icon);

    PlugInRegistrationContext m_context;
    bool m_failed = false;
};
