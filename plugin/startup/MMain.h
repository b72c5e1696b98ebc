// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "registration/RegistrationOperations.h"

#include <QString>
#include <QStringList>

enum class StartupOutcome {
    ServeAutomation,          // started by the host: wait for its objects
    Ended,                    // a registration switch ran; the process ends
    RegistrationWindowShown,  // the registration window keeps the process alive
};

// How the platform started the program.
struct StartupArguments {
    bool startedByHost = false;
    QString commandLine; // the arguments after the program's name
    bool registerServer = false;
    bool unregisterServer = false;

    // -Embedding or /Embedding marks a start by the automation host; the
    // arguments are joined by single blanks (an argument keeps its own blanks).
    static StartupArguments fromArguments(const QStringList& arguments);
};

// The program's entry into its own logic (the identity must be loaded first).
StartupOutcome MMain_Main(const StartupArguments& arguments, RegistrationOperations& operations);
