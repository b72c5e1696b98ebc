// SPDX-License-Identifier: Apache-2.0
#include "startup/PlugInProgram.h"

#include "automation/AutomationClassRegistry.h"
#include "automation/AutomationDispatcher.h"
#include "automation/AutomationServer.h"
#include "automation/LNSPlugInAPI.h"
#include "automation/PlugInState.h"
#include "lns/LonWorksPlatform.h"
#include "model/Specific.h"
#include "platform/PlatformRoot.h"
#include "platform/ProcessLauncher.h"
#include "platform/SettingsStore.h"
#include "platform/UnattendedDialogs.h"
#include "platform/WindowSystem.h"
#include "registration/DeviceTemplateRegistration.h"
#include "registration/PlugInRegistration.h"
#include "registration/ResourceCatalogRegistration.h"
#include "regwindows/fProgress.h"
#include "regwindows/fRegisterPlugIn.h"
#include "support/PlugInIdentity.h"
#include "window/QtDialogs.h"
#include "window/fMain.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <unistd.h>

namespace PlugInProgram {

namespace {

void processEvents() {
    QCoreApplication::processEvents();
}

// The real dialogs, or answers by default where nobody is there to click.
std::unique_ptr<Dialogs> makeDialogs() {
    if (UnattendedDialogs::requested())
        return std::make_unique<UnattendedDialogs>();
    return std::make_unique<QtDialogs>();
}

void setBusyPointer(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// Status texts of command registration go to the progress window of the
// operation that runs it.
void showStatus(const QString& text) {
    if (fProgress* progress = fProgress::current())
        progress->DisplayStatus(text);
}

DeviceTemplateRegistrationContext commandRegistrationContext(SettingsStore& store, Dialogs& dialogs,
                                                             ProcessLauncher& launcher,
                                                             lns::LonWorksPlatform& platform) {
    return {ThePlugInState(),
            store,
            dialogs,
            launcher,
            platform.resourceCatalogs(),
            showStatus,
            setBusyPointer,
            processEvents};
}

} // namespace

int handleServerSwitch(const StartupArguments& arguments) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    if (arguments.registerServer)
        AutomationClassRegistry::registerServer(store, Identity().ProgID,
                                                QCoreApplication::applicationFilePath());
    else
        AutomationClassRegistry::unregisterServer(store, Identity().ProgID);
    return 0;
}

namespace {

// Started by the host: serve LNSPlugInAPI objects until the plug-in ends.
int serveAutomation(QApplication& app) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    const std::unique_ptr<Dialogs> dialogsOwner = makeDialogs();
    Dialogs& dialogs = *dialogsOwner;
    SystemProcessLauncher launcher;
    const std::unique_ptr<lns::LonWorksPlatform> platform = lns::lonWorksPlatform(store);
    const lns::ResourceCatalogFactory catalogs = platform->resourceCatalogs();
    fMain window(
        {dialogs, store, ThePlugInState(), Specific::process(), catalogs, &fProgress::open,
         PlugInRegistration::PlugInKey(), [&] {
             return ResourceCatalogRegistration(ThePlugInState(), store, dialogs, catalogs).Check();
         }});
    window.setObjectServer(platform->objectServer());
    DeviceTemplateRegistration registration(
        commandRegistrationContext(store, dialogs, launcher, *platform));
    PlugInServices services{ThePlugInState(), window, registration,
                            &fProgress::open, store,  Specific::process()};
    AutomationDispatcher dispatcher([&] { return std::make_unique<LNSPlugInAPI>(services); });
    const AutomationServer server(dispatcher, STDIN_FILENO, STDOUT_FILENO, [&] {
        // The host is gone: its objects go with it, and a hidden plug-in ends.
        if (!dispatcher.releaseAll() && !window.Visible())
            window.EndPlugIn();
    });
    return app.exec();
}

} // namespace

int run(QApplication& app, const StartupArguments& arguments) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    const std::unique_ptr<Dialogs> dialogsOwner = makeDialogs();
    Dialogs& dialogs = *dialogsOwner;
    SystemProcessLauncher launcher;
    PlugInState& state = ThePlugInState();
    const std::unique_ptr<lns::LonWorksPlatform> platform = lns::lonWorksPlatform(store);
    DeviceTemplateRegistration commands(
        commandRegistrationContext(store, dialogs, launcher, *platform));
    std::unique_ptr<fRegisterPlugIn> window;
    PlugInRegistration registration(
        {store, dialogs, launcher, QCoreApplication::applicationFilePath(),
         [&]() -> lns::Ref<lns::ObjectServer> {
             if (!state.ObjectServer)
                 state.ObjectServer = platform->objectServer();
             return state.ObjectServer;
         },
         &fProgress::open,
         [&](const lns::Ref<lns::System>& system, bool exhaustive, bool firstNetwork) {
             commands.RemoveCommandsIn(system, exhaustive, firstNetwork);
         },
         processEvents,
         [&] {
             if (WindowSystem::missing()) {
                 QTextStream(stderr) << "RM42xxPirConfigure: the registration window cannot be shown: "
                                     << WindowSystem::missingReason()
                                     << "; use /regplugin or /deregplugin to register without it"
                                     << Qt::endl;
                 QTimer::singleShot(0, &app, [] { QCoreApplication::exit(1); });
                 return;
             }
             window = std::make_unique<fRegisterPlugIn>(
                 registration,
                 platform->laidOut() ? PlatformLayout::LaidOut : PlatformLayout::NotLaidOut);
             QObject::connect(window.get(), &fRegisterPlugIn::unloaded, &app,
                              &QCoreApplication::quit, Qt::QueuedConnection);
             window->show();
         }});
    switch (MMain_Main(arguments, registration)) {
    case StartupOutcome::ServeAutomation:
        return serveAutomation(app);
    case StartupOutcome::RegistrationWindowShown:
        return app.exec();
    case StartupOutcome::Ended:
        break;
    }
    return registration.failed() ? 1 : 0;
}

} // namespace PlugInProgram
