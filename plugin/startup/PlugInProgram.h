// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "startup/MMain.h"

class QApplication;

// The plug-in program's three ways of running, each with its collaborators.
namespace PlugInProgram {

// " /regserver" or " /unregserver": record or remove the automation class.
int handleServerSwitch(const StartupArguments& arguments);
// The start-up routine with the program's collaborators: serve the host,
// run a registration switch, or show the registration window.
int run(QApplication& app, const StartupArguments& arguments);

} // namespace PlugInProgram
