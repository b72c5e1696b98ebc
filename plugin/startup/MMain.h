// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

// What the start-up routine dispatches to when the program runs stand-alone.
class RegistrationOperations {
public:
    virtual ~RegistrationOperations() = default;
    virtual void Register(bool interactive) = 0;
    virtual void Deregister(int mode, bool interactive) = 0;
    // Shows the registration window modeless; the process lives until it closes.
    virtual void ShowRegistrationWindow() = 0;
};

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
