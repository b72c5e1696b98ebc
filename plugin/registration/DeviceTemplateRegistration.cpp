// SPDX-License-Identifier: Apache-2.0
#include "registration/DeviceTemplateRegistration.h"

#include "automation/PlugInState.h"
#include "lns/LnsCodes.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "registration/ObjectNames.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

#include <QHash>
#include <optional>

namespace {

const QString LineBreak = QStringLiteral("\r\n");
constexpr int NameCandidates = 1000;

enum Scope { ObjectServerScope = 1, SystemScope = 2, TemplateScope = 3, LonMarkObjectScope = 4 };

// The first template of the library with the program ID; empty when none.
lns::Ref<lns::DeviceTemplate> templateByProgramId(const lns::Ref<lns::DeviceTemplates>& templates,
                                                  const QString& programId) {
    for (int index = 1; index <= templates->Count(); ++index) {
        lns::Ref<lns::DeviceTemplate> candidate = templates->Item(index);
        if (candidate->ProgramId().compare(programId, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return nullptr;
}

void removeQuietly(const lns::Ref<lns::DeviceTemplates>& templates, const QString& name) {
    try {
        templates->Remove(name);
    } catch (const Error&) {
    }
}

template <class T> bool itemExists(const lns::Collection<T>& collection, const QString& name) {
    try {
        return collection.Item(name) != nullptr;
    } catch (const Error&) {
        return false;
    }
}

// Keeps the busy pointer up while a procedure runs, whichever way it ends.
class BusyPointer {
public:
    explicit BusyPointer(const std::function<void(bool)>& set) : m_set(set) {
        if (m_set)
            m_set(true);
    }
    ~BusyPointer() {
        if (m_set)
            m_set(false);
    }

private:
    const std::function<void(bool)>& m_set;
};

} // namespace

DeviceTemplateRegistration::DeviceTemplateRegistration(DeviceTemplateRegistrationContext context)
    : m_context(std::move(context)),
      m_resources(m_context.state, m_context.store, m_context.dialogs, m_context.catalogs) {}

void DeviceTemplateRegistration::status(const QString& text) const {
    if (m_context.status)
        m_context.status(text);
    if (m_context.processEvents)
        m_context.processEvents();
}

QString DeviceTemplateRegistration::UniqueName(const QString& base,
                                               const std::function<bool(const QString&)>& taken) {
    QString candidate = base;
    for (int n = 1; n <= NameCandidates && taken(candidate); ++n)
        candidate = base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    return candidate;
}

QStringList DeviceTemplateRegistration::templateProgramIds(
    const lns::Ref<lns::DeviceTemplates>& templates) const {
    QStringList programIds;
    for (const SupportedCommand& record : m_context.state.SupportedCommands) {
        try {
            if (const auto found = templateByProgramId(templates, record.ProgramId))
                programIds << found->ProgramId();
        } catch (const Error&) {
        }
    }
    return programIds;
}

lns::Ref<lns::System> DeviceTemplateRegistration::currentSystem() const {
    if (!m_context.state.CurrentSystem)
        throw Error::lns(lns::Code::NotOpen, Identity().Name,
                         QStringLiteral("No network is open."));
    return m_context.state.CurrentSystem;
}

void DeviceTemplateRegistration::showFailure(const QString& text) const {
    m_context.dialogs.message(
        {text, PlugInIdentity::ApplicationTitle, DialogButtons::Ok, DialogIcon::Critical, 0});
}

bool DeviceTemplateRegistration::RegisterCommands() {
    std::optional<QString> failure;
    {
        BusyPointer busy(m_context.busyPointer);
        failure = templatesAndCommandsFailure();
        if (!failure)
            return registerResources();
    }
    // The pointer is back before the user reads why.
    if (!failure->isEmpty())
        showFailure(*failure);
    return false;
}

std::optional<QString> DeviceTemplateRegistration::templatesAndCommandsFailure() {
    // Whatever fails on the way ends here, so the host always hears of it.
    QString lastReason;
    try {
        registerTemplatesAndCommands(lastReason);
    } catch (const Failure& failure) {
        return failure.shown ? QString() : failure.description + LineBreak + failure.reason;
    } catch (const Error& error) {
        return error.description() + LineBreak + lastReason;
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what()) + LineBreak + lastReason;
    }
    return std::nullopt;
}

void DeviceTemplateRegistration::registerTemplatesAndCommands(QString& lastReason) {
    PlugInState& state = m_context.state;
    const lns::Ref<lns::System> system = currentSystem();
    state.RememberedRemote = state.ObjectServer->Remote();
    const lns::Ref<lns::DeviceTemplates> templates = system->TemplateLibrary()->DeviceTemplates();
    QStringList programIds = templateProgramIds(templates);
    if (programIds.isEmpty())
        importTemplates(templates, programIds);
    // One run decides the default action of each command name once.
    QHash<QString, bool> defaultActions;
    for (const QString& programId : programIds) {
        const lns::Ref<lns::DeviceTemplate> deviceTemplate =
            templateByProgramId(templates, programId);
        for (const SupportedCommand& record : state.SupportedCommands)
            registerRecord(deviceTemplate, record, defaultActions, lastReason);
    }
}

bool DeviceTemplateRegistration::registerResources() {
    for (;;) {
        if (m_resources.Register(m_context.state.RememberedRemote))
            return true;
        const DialogAnswer answer = m_context.dialogs.message(
            {QStringLiteral(
                 "Unable to add the resources listed in the ResourceTable to the catalog"),
             PlugInIdentity::ApplicationTitle, DialogButtons::AbortRetryIgnore,
             DialogIcon::Information, 0});
        if (answer == DialogAnswer::Ignore)
            return true;
        if (answer != DialogAnswer::Retry)
            return false;
    }
}

void DeviceTemplateRegistration::importTemplates(const lns::Ref<lns::DeviceTemplates>& templates,
                                                 QStringList& programIds) {
    for (const SupportedCommand& record : m_context.state.SupportedCommands) {
        if (templateByProgramId(templates, record.ProgramId))
            continue;
        QString file = LocateDeviceFile(record.ProgramId);
        if (file.isEmpty())
            file = DlgXIF(record.ProgramId);
        if (file.isEmpty())
            throw Failure{QString(),
                          QStringLiteral("Unable to find XIF file / create a template.")};
        const QString name = UniqueName(record.DeviceTemplateName, [&](const QString& candidate) {
            return itemExists(*templates, candidate);
        });
        if (name.isEmpty())
            throw Failure{QString(), QStringLiteral("Could not create a unique template name.")};
        lns::Ref<lns::DeviceTemplate> created;
        try {
            created = templates->Add(name, 1);
            created->Import(file);
        } catch (const Error& error) {
            // Only a template of this run is half-made; a name the Add refused
            // may belong to another template.
            if (created)
                removeQuietly(templates, name);
            throw Failure{error.description(),
                          QStringLiteral("Could not import the external interface file ") +
                              Paths::toNative(file) + QLatin1Char('.')};
        }
        programIds << created->ProgramId();
    }
}

lns::Ref<lns::ComponentApps>
DeviceTemplateRegistration::collectionFor(int scope, const lns::Ref<lns::System>& system,
                                          const lns::Ref<lns::DeviceTemplate>& deviceTemplate,
                                          const QString& lonMarkObjectKey) const {
    switch (scope) {
    case ObjectServerScope:
        return m_context.state.ObjectServer->ComponentApps();
    case SystemScope:
        return system->ComponentApps();
    case TemplateScope:
        return deviceTemplate->ComponentApps();
    case LonMarkObjectScope:
        return deviceTemplate->Interface()
            ->LonMarkObjects()
            ->Item(lonMarkObjectKey)
            ->ComponentApps();
    default:
        return nullptr;
    }
}

void DeviceTemplateRegistration::registerRecord(const lns::Ref<lns::DeviceTemplate>& deviceTemplate,
                                                const SupportedCommand& record,
                                                QHash<QString, bool>& defaultActions,
                                                QString& lastReason) {
    const PlugInIdentity& identity = Identity();
    const lns::Ref<lns::ComponentApps> apps =
        collectionFor(record.RegistrationScope, m_context.state.CurrentSystem, deviceTemplate,
                      record.LonMarkObjectKey);
    if (!apps) {
        lastReason = QStringLiteral("ComponentApp was not created.");
        status(QStringLiteral("Error adding command ") + CommandWord(record.CommandId) +
               QStringLiteral(" for Device Template") + deviceTemplate->Name() +
               QStringLiteral(". ") + LineBreak + lastReason);
        return;
    }
    status(deviceTemplate->Name() + LineBreak + QStringLiteral("Adding command ") +
           CommandWord(record.CommandId) + QStringLiteral(" for ") +
           ObjectClassWord(static_cast<qint16>(record.ObjectClassId)) +
           QStringLiteral(" objects..."));
    lns::Ref<lns::ComponentApp> app;
    for (int index = 1; index <= apps->Count() && !app; ++index) {
        const lns::Ref<lns::ComponentApp> candidate = apps->Item(index);
        if (candidate->ProgId() == identity.ProgID && candidate->CommandId() == record.CommandId &&
            candidate->ObjectClassId() == record.ObjectClassId)
            app = candidate;
    }
    if (!app)
        app = createComponentApp(apps, record);
    app->setCommandId(record.CommandId);
    app->setDescription(record.Description);
    app->setVersion(identity.Version);
    app->setManufacturerId(identity.ManufacturerID);
    if (!defaultActions.contains(record.Name))
        defaultActions.insert(record.Name, record.DefaultAction);
    if (defaultActions.value(record.Name)) {
        app->setDefaultAction(true);
        for (int index = apps->Count(); index >= 1; --index) {
            const lns::Ref<lns::ComponentApp> other = apps->Item(index);
            if (other->ProgId() != identity.ProgID)
                other->setDefaultAction(false);
        }
    } else {
        app->setDefaultAction(false);
    }
    if (m_context.processEvents)
        m_context.processEvents();
}

lns::Ref<lns::ComponentApp>
DeviceTemplateRegistration::createComponentApp(const lns::Ref<lns::ComponentApps>& apps,
                                               const SupportedCommand& record) {
    const QString name = UniqueName(
        record.Name, [&](const QString& candidate) { return itemExists(*apps, candidate); });
    try {
        return apps->Add(name, Identity().ProgID, static_cast<qint16>(record.ObjectClassId));
    } catch (const Error& error) {
        const QString text =
            QString::number(error.number()) + QLatin1Char(' ') + error.description();
        m_context.dialogs.message(
            {text, PlugInIdentity::ApplicationTitle, DialogButtons::Ok, DialogIcon::None, 0});
        // The command is missing: registration has failed, and the user knows why.
        throw Failure{text, QString(), true};
    }
}

DeviceFile::Converter DeviceTemplateRegistration::converter() const {
    const QString lonWorks =
        CRegistry(m_context.store)
            .MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"), QStringLiteral("LonWorks Path"));
    // Without a folder of the system's, the platform's own import folder.
    const QString importFolder = m_context.state.XifFolder.isEmpty()
                                     ? lonWorks + QStringLiteral("\\Import")
                                     : m_context.state.XifFolder;
    return {lonWorks, m_context.launcher, m_context.dialogs,
            m_context.processEvents ? m_context.processEvents : [] {}, importFolder};
}

QString DeviceTemplateRegistration::LocateDeviceFile(const QString& programId) {
    PlugInState& state = m_context.state;
    if (!state.RememberedRemote)
        state.XifFolder = state.CurrentSystem->XifFolder();
    const QString folder = state.XifFolder + QLatin1Char('\\');
    const DeviceFile::SearchBounds bounds;
    const DeviceFile::SearchResult found = DeviceFile::Search(folder, programId, bounds);
    if (found.cutShort)
        m_context.dialogs.inform(
            QStringLiteral("The search for the XIF file with Program ID %1 in %2 stopped before "
                           "it was complete: it goes at most %3 folders deep and takes at most "
                           "%4 seconds.")
                .arg(programId, Paths::toNative(folder))
                .arg(bounds.maxDepth)
                .arg(std::chrono::duration_cast<std::chrono::seconds>(bounds.timeLimit).count()),
            PlugInIdentity::ApplicationTitle, DialogIcon::Information);
    return found.path.isEmpty() ? QString() : DeviceFile::Convert(found.path, converter());
}

QString DeviceTemplateRegistration::DlgXIF(const QString& programId) {
    FileRequest request;
    request.title = QStringLiteral("Locate the XIF file with Program ID ") + programId;
    request.startFolder = Paths::toNative(m_context.state.XifFolder);
    request.filter = QStringLiteral("External Interface Files (*.XIF)|*.XIF");
    request.filterIndex = 1;
    request.mustExist = true;
    request.hideReadOnly = true;
    const QString chosen = m_context.dialogs.openFile(request);
    if (chosen.isEmpty() || DeviceFile::ProgramIdOfFile(chosen) != programId.toUpper())
        return QString(); // a file of another device counts as no choice
    return DeviceFile::Convert(chosen, converter());
}

bool DeviceTemplateRegistration::RemoveCommands(bool exhaustive, bool firstNetwork) {
    // The user is told what stopped the removal; the host hears that it failed.
    try {
        RemoveCommandsIn(currentSystem(), exhaustive, firstNetwork);
        return true;
    } catch (const Error& error) {
        showFailure(error.description());
    } catch (const std::exception& failure) {
        showFailure(QString::fromLocal8Bit(failure.what()));
    }
    return false;
}

void DeviceTemplateRegistration::RemoveCommandsIn(const lns::Ref<lns::System>& system,
                                                  bool exhaustive, bool firstNetwork) {
    BusyPointer busy(m_context.busyPointer);
    const lns::Ref<lns::DeviceTemplates> templates = system->TemplateLibrary()->DeviceTemplates();
    const QStringList programIds = templateProgramIds(templates);
    for (const QString& programId : programIds) {
        for (const SupportedCommand& record : m_context.state.SupportedCommands) {
            if (firstNetwork || record.RegistrationScope != ObjectServerScope)
                removeRegistrations(system, record.RegistrationScope, record.CommandId, programId,
                                    record.LonMarkObjectKey);
        }
    }
    removeRegistrations(system, SystemScope, 50, QString(), QString());
    if (exhaustive && m_context.state.Interactive)
        offerTemplateRemoval(templates, programIds);
}

void DeviceTemplateRegistration::removeRegistrations(const lns::Ref<lns::System>& system, int scope,
                                                     qint32 commandId, const QString& programId,
                                                     const QString& lonMarkObjectKey) {
    lns::Ref<lns::ComponentApps> apps;
    try {
        const lns::Ref<lns::DeviceTemplate> deviceTemplate =
            scope == TemplateScope || scope == LonMarkObjectScope
                ? templateByProgramId(system->TemplateLibrary()->DeviceTemplates(), programId)
                : nullptr;
        if ((scope == TemplateScope || scope == LonMarkObjectScope) && !deviceTemplate)
            return;
        apps = collectionFor(scope, system, deviceTemplate, lonMarkObjectKey);
    } catch (const Error&) {
        return;
    }
    if (!apps)
        return;
    for (int index = apps->Count(); index >= 1; --index) {
        const lns::Ref<lns::ComponentApp> app = apps->Item(index);
        if (app->ProgId() != Identity().ProgID || app->CommandId() != commandId)
            continue;
        if (m_context.state.Interactive)
            status(programId + LineBreak + QStringLiteral("Deregister Command ") +
                   QString::number(commandId) + QStringLiteral("..."));
        apps->Remove(index);
    }
}

void DeviceTemplateRegistration::offerTemplateRemoval(
    const lns::Ref<lns::DeviceTemplates>& templates, const QStringList& programIds) {
    for (const QString& programId : programIds) {
        QString name;
        try {
            const lns::Ref<lns::DeviceTemplate> deviceTemplate =
                templateByProgramId(templates, programId);
            if (!deviceTemplate || deviceTemplate->AppDeviceCount() != 0)
                continue;
            name = deviceTemplate->Name();
            const DialogAnswer answer = m_context.dialogs.message(
                {QStringLiteral("The device template '") + name +
                     QStringLiteral("' is no longer referenced by any device in the current "
                                    "network. Do you want to remove "
                                    "the device template from the template library?"),
                 PlugInIdentity::ApplicationTitle, DialogButtons::YesNo, DialogIcon::Warning, 0});
            if (answer == DialogAnswer::Yes)
                templates->Remove(name);
        } catch (const Error&) {
            if (!name.isEmpty())
                m_context.dialogs.message(
                    {QStringLiteral("Unable to remove the device template: ") + name,
                     PlugInIdentity::ApplicationTitle, DialogButtons::Ok, DialogIcon::Critical, 0});
        }
    }
}
