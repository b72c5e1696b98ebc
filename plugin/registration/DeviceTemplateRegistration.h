// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/CommandRegistration.h"
#include "lns/ObjectServer.h"
#include "registration/DeviceFile.h"
#include "registration/ResourceCatalogRegistration.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class Dialogs;
class ProcessLauncher;
class SettingsStore;
struct PlugInState;
struct SupportedCommand;

// What command registration works with besides the process-wide state.
struct DeviceTemplateRegistrationContext {
    PlugInState& state;
    SettingsStore& store;
    Dialogs& dialogs;
    ProcessLauncher& launcher;
    lns::ResourceCatalogFactory catalogs;
    // The progress window's status text.
    std::function<void(const QString&)> status;
    std::function<void(bool busy)> busyPointer;
    std::function<void()> processEvents;
};

// The plug-in's commands in an LNS network: the device template (imported
// from the device's external interface file when the network has none), one
// component application per supported command, and the maker's resource
// folder in the catalog.
class DeviceTemplateRegistration : public CommandRegistration {
public:
    explicit DeviceTemplateRegistration(DeviceTemplateRegistrationContext context);

    // In the current system of the open network.
    bool RegisterCommands() override;
    bool RemoveCommands(bool exhaustive, bool firstNetwork) override;
    // In any open system (deregistration walks every network).
    void RemoveCommandsIn(const lns::Ref<lns::System>& system, bool exhaustive, bool firstNetwork);

    // Finds the external interface file of `programId`: the XIF folder first,
    // then the user's choice; converted, or empty.
    QString LocateDeviceFile(const QString& programId);

    // `base`, or `base (n)` for the first free n, at most 1000 candidates.
    static QString UniqueName(const QString& base,
                              const std::function<bool(const QString&)>& taken);

private:
    // A template problem or a command that could not be added: the message
    // is the description, a line break and the reason, unless already shown.
    struct Failure {
        QString description;
        QString reason;
        bool shown = false;
    };

    lns::Ref<lns::System> currentSystem() const;
    void showFailure(const QString& text) const;
    // The message of a failure (empty when already shown), or nothing.
    std::optional<QString> templatesAndCommandsFailure();
    void registerTemplatesAndCommands(QString& lastReason);
    bool registerResources();
    QStringList templateProgramIds(const lns::Ref<lns::DeviceTemplates>& templates) const;
    void importTemplates(const lns::Ref<lns::DeviceTemplates>& templates, QStringList& programIds);
    void registerRecord(const lns::Ref<lns::DeviceTemplate>& deviceTemplate,
                        const SupportedCommand& record, QHash<QString, bool>& defaultActions,
                        QString& lastReason);
    lns::Ref<lns::ComponentApps> collectionFor(int scope, const lns::Ref<lns::System>& system,
                                               const lns::Ref<lns::DeviceTemplate>& deviceTemplate,
                                               const QString& lonMarkObjectKey) const;
    lns::Ref<lns::ComponentApp> createComponentApp(const lns::Ref<lns::ComponentApps>& apps,
                                                   const SupportedCommand& record);
    void removeRegistrations(const lns::Ref<lns::System>& system, int scope, qint32 commandId,
                             const QString& programId, const QString& lonMarkObjectKey);
    void offerTemplateRemoval(const lns::Ref<lns::DeviceTemplates>& templates,
                              const QStringList& programIds);
    // The file dialog that lets the user point at the file.
    QString DlgXIF(const QString& programId);
    DeviceFile::Converter converter() const;
    void status(const QString& text) const;

    DeviceTemplateRegistrationContext m_context;
    ResourceCatalogRegistration m_resources;
};
