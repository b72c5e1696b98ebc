#include "host/AutomationClassRegistry.h"
#include "host/AutomationDispatcher.h"
#include "host/AutomationServer.h"
#include "host/CommandRegistration.h"
#include "host/LNSPlugInAPI.h"
#include "host/MMain.h"
#include "host/PlugInIdentity.h"
#include "host/PlugInState.h"
#include "host/fProgress.h"
#include "lns/sim/ObjectServerFromSettings.h"
#include "model/Specific.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"
#include "window/QtDialogs.h"
#include "window/fMain.h"

#include <QApplication>
#include <QTextStream>
#include <unistd.h>

namespace {

// Registration, deregistration and the registration window are not part of
// this program yet; say so instead of pretending to have done anything.
class RegistrationNotAvailable : public RegistrationOperations {
public:
    void Register(bool) override { report(); }
    void Deregister(int, bool) override { report(); }
    void ShowRegistrationWindow() override { report(); }

private:
    static void report() {
        QTextStream(stderr) << "Plug-in registration is not available in this build." << Qt::endl;
    }
};

// Commands 50 and 51 fail until command registration is part of the program.
class CommandRegistrationNotAvailable : public CommandRegistration {
public:
    bool RegisterCommands() override { return false; }
    void RemoveCommands(bool, bool) override {
        throw Error(LNSPlugInAPI::ErrCommandNotSupported, Identity().Name,
                    QStringLiteral("Command not supported"));
    }
};

int handleServerSwitch(const StartupArguments& arguments) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    if (arguments.registerServer)
        AutomationClassRegistry::registerServer(store, Identity().ProgID,
                                                QCoreApplication::applicationFilePath());
    else
        AutomationClassRegistry::unregisterServer(store, Identity().ProgID);
    return 0;
}

// Started by the host: serve LNSPlugInAPI objects on standard input and
// output until the plug-in ends.
int serveAutomation(QApplication& app) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    QtDialogs dialogs;
    fMain window(dialogs);
    window.setObjectServer(lns::sim::objectServerFromSettings(store));
    CommandRegistrationNotAvailable registration;
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

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    (void)Identity();
    const StartupArguments arguments = StartupArguments::fromArguments(app.arguments().mid(1));
    try {
        if (arguments.registerServer || arguments.unregisterServer)
            return handleServerSwitch(arguments);
        RegistrationNotAvailable registration;
        switch (MMain_Main(arguments, registration)) {
        case StartupOutcome::ServeAutomation:
            return serveAutomation(app);
        case StartupOutcome::Ended:
        case StartupOutcome::RegistrationWindowShown:
            return 0;
        }
    } catch (const Error& error) {
        QTextStream(stderr) << error.description() << Qt::endl;
        return 1;
    }
    return 0;
}
