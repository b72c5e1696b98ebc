#include "host/AutomationClassRegistry.h"
#include "host/MMain.h"
#include "host/PlugInIdentity.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QTextStream>

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

int handleServerSwitch(const StartupArguments& arguments) {
    SettingsStore store(PlatformRoot::settingsStoreFile());
    if (arguments.registerServer)
        AutomationClassRegistry::registerServer(store, Identity().ProgID, QCoreApplication::applicationFilePath());
    else
        AutomationClassRegistry::unregisterServer(store, Identity().ProgID);
    return 0;
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
