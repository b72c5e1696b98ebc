// SPDX-License-Identifier: Apache-2.0
#include "startup/MMain.h"

#include "support/PlugInIdentity.h"

#include <exception>

namespace {

struct DeregistrationLine {
    const char* line;
    int mode;
};

constexpr DeregistrationLine DeregistrationLines[] = {
    {"/deregplugin /deregmode:-1", -1},
    {"/deregplugin /deregmode:0", 0},
    {"/deregplugin /deregmode:1", 1},
};

// Runs a registration switch; false when the line is none of them.
bool dispatchCommandLine(const QString& commandLine, RegistrationOperations& operations) {
    if (commandLine == QLatin1String("/regplugin")) {
        operations.Register(false);
        return true;
    }
    if (commandLine == QLatin1String("/deregplugin")) {
        operations.Deregister(0, false);
        return true;
    }
    for (const DeregistrationLine& entry : DeregistrationLines) {
        if (commandLine == QLatin1String(entry.line)) {
            operations.Deregister(entry.mode, false);
            return true;
        }
    }
    return false;
}

bool isSwitch(const QString& argument, const char* name) {
    return argument.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

StartupArguments StartupArguments::fromArguments(const QStringList& arguments) {
    StartupArguments result;
    for (const QString& argument : arguments) {
        if (isSwitch(argument, "-Embedding") || isSwitch(argument, "/Embedding"))
            result.startedByHost = true;
        else if (isSwitch(argument, "/regserver") || isSwitch(argument, "-regserver"))
            result.registerServer = true;
        else if (isSwitch(argument, "/unregserver") || isSwitch(argument, "-unregserver"))
            result.unregisterServer = true;
    }
    result.commandLine = arguments.join(QLatin1Char(' '));
    return result;
}

StartupOutcome MMain_Main(const StartupArguments& arguments, RegistrationOperations& operations) {
    (void)Identity();
    if (arguments.startedByHost)
        return StartupOutcome::ServeAutomation;
    try {
        const QString commandLine = arguments.commandLine.trimmed().toLower();
        if (dispatchCommandLine(commandLine, operations))
            return StartupOutcome::Ended;
    } catch (const std::exception&) {
        // A failing switch is not reported; the registration window takes over.
    }
    operations.ShowRegistrationWindow();
    return StartupOutcome::RegistrationWindowShown;
}
