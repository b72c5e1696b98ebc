// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "NetworkSnapshot.h"
#include "PlugInSession.h"
#include "objectserver/RegisteredPlugIns.h"

// What the browser offers for the selected object, and the calls each one
// makes on the plug-in: a data decision, apart from the widgets.
struct BrowserAction {
    enum class Kind { Command, RegisterCommands, RemoveCommands };
    Kind kind = Kind::Command;
    QString label;   // as shown: the component application's name, or the network action
    QString network; // the network the plug-in opens
    QString progId;  // the plug-in to start
    QString target;  // the object's path; the network for the network actions
    qint32 commandId = 0;
    qint16 objectClassId = 0;
};

// The commands registered for a device's template, or for its LonMark object
// in the template, each sent for that object.
QList<BrowserAction> objectActions(const QString& network, const QList<OfferedCommand>& commands,
                                   const QString& path);

// "Register plug-in commands" and "Remove plug-in commands" for each
// registered plug-in; with more than one, each names its plug-in.
QList<BrowserAction> networkActions(const QString& network,
                                    const QList<lns::sim::RegisteredPlugIn>& plugIns);

// The calls that carry out an action, after the object is created: the
// host's order (network name, the command, and the window shown for a
// command that opens one).
QList<PlugInSession::Call> callsFor(const BrowserAction& action);

// Whether the plug-in is held while its window shows (a command on an
// object) or released once the calls are answered (the network actions).
PlugInSession::Hold holdFor(const BrowserAction& action);

// The key under which one action's plug-in runs: one window per object.
QString sessionKey(const BrowserAction& action);
