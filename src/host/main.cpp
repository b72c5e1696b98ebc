#include "host/MMain.h"
#include "host/PlugInIdentity.h"
#include "host/PlugInProgram.h"
#include "platform/WindowSystem.h"
#include "platform/Error.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Registration and the host's automation need no window: they run without a display too.
    WindowSystem::prepare();
    QApplication app(argc, argv);
    (void)Identity();
    const StartupArguments arguments = StartupArguments::fromArguments(app.arguments().mid(1));
    try {
        if (arguments.registerServer || arguments.unregisterServer)
            return PlugInProgram::handleServerSwitch(arguments);
        return PlugInProgram::run(app, arguments);
    } catch (const Error& error) {
        QTextStream(stderr) << error.description() << Qt::endl;
        return 1;
    }
}
