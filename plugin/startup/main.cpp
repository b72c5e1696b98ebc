// SPDX-License-Identifier: Apache-2.0
#include "platform/Error.h"
#include "platform/PlatformNoiseFilter.h"
#include "platform/StandardOptions.h"
#include "platform/WindowSystem.h"
#include "startup/MMain.h"
#include "startup/PlugInProgram.h"
#include "support/PlugInIdentity.h"

#include <QApplication>
#include <QTextStream>

namespace {

const QString Help = QStringLiteral(
    "usage: RM42xxPirConfigure [/regplugin | /deregplugin [/deregmode:-1|0|1]]\n"
    "       RM42xxPirConfigure --help | --version\n"
    "\n"
    "The configuration plug-in of the RM42xx thermostats. Without a switch it opens\n"
    "the registration window.\n"
    "\n"
    "  /regplugin                  register the plug-in with the LonWorks host, silently\n"
    "  /deregplugin                deregister it, silently, in complete mode\n"
    "  /deregplugin /deregmode:M   deregister in mode M: -1 minimal (the plug-in's\n"
    "                              registry entries only), 0 complete (also its commands\n"
    "                              in every network), 1 exhaustive (also unused device\n"
    "                              templates, from the registration window)\n"
    "  -Embedding                  started by the host (lns-host run): serve its calls\n"
    "  /regserver, /unregserver    record or remove the automation class\n"
    "\n"
    "Environment: LNS_PLATFORM_ROOT names the platform root, RM42_SNAPSHOT_DIR a folder\n"
    "for pictures of the configuration window. See RM42xxPirConfigure(1).\n");

QStringList commandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window system is looked for, so they work anywhere.
    QTextStream out(stdout);
    if (const auto status = StandardOptions::answer(commandLine(argc, argv),
                                                    PlugInIdentity::ApplicationTitle, Help, out))
        return *status;
    // Registration and the host's automation need no window: they run without a display too.
    WindowSystem::prepare();
    PlatformNoiseFilter::install();
    QApplication app(argc, argv);
    // The process ends by its own rules (the host's last object released with
    // the configuration window hidden, Exit, the registration window closed),
    // never because a message box that happened to be the only window closed.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("rm42xx-config"));
    (void)Identity();
    const StartupArguments arguments = StartupArguments::fromArguments(app.arguments().mid(1));
    try {
        if (arguments.registerServer || arguments.unregisterServer)
            return PlugInProgram::handleServerSwitch(arguments);
        return PlugInProgram::run(app, arguments);
    } catch (const Error& error) {
        QTextStream(stderr) << PlugInIdentity::ApplicationTitle << ": " << error.description()
                            << Qt::endl;
        return 1;
    }
}
