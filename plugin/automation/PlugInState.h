// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ObjectPath.h"
#include "lns/ObjectServer.h"

#include <QList>
#include <QString>

// A command the plug-in offers the host.
struct SupportedCommand {
    qint32 CommandId = 0;
    qint32 ObjectClassId = 0;
    QString Name;
    QString Description;
    bool DefaultAction = true;
    qint32 RegistrationScope = 3;
    QString ProgramId;
    QString DeviceTemplateName;
    QString LonMarkObjectKey;
};

// The process-wide state of the plug-in: what every LNSPlugInAPI object of
// the process shares with the configuration window and registration.
struct PlugInState {
    int InstanceCount = 0;
    lns::Ref<lns::ObjectServer> ObjectServer;
    bool ServerOpen = false;
    bool NetworkOpen = false;
    QString CurrentNetworkName;
    lns::Ref<lns::Network> CurrentNetwork;
    lns::Ref<lns::System> CurrentSystem;
    QString CurrentObjectName;
    ::ObjectPath ObjectPath;
    QString DevelopmentProgramId;
    QList<SupportedCommand> SupportedCommands;

    // Registration: whether messages and progress are shown, the Object
    // Server's remote flag when commands were last registered, the folder of
    // the external interface files, and whether the maker's resource files
    // were found in the catalog (once found, they stay found).
    bool Interactive = false;
    bool RememberedRemote = false;
    QString XifFolder;
    bool ResourceFilesPresent = false;
};

// The state of this process.
PlugInState& ThePlugInState();

// Fills the two commands: configure a LonMark object (class 28) and
// configure an application device (class 7).
void FillSupportedCommands(PlugInState& state);
