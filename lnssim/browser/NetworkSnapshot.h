// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lns {
class ObjectServer;
}

// What the browser shows of one network, read in one pass so that the tree is
// rebuilt from plain data and a reread that finds nothing new changes nothing.

// A command a plug-in registered for an object's template (a component
// application): choosing it sends CommandId for ObjectClassId to ProgId.
struct OfferedCommand {
    QString name;
    qint32 commandId = 0;
    qint16 objectClassId = 0;
    QString progId;
    bool defaultAction = false;
    bool operator==(const OfferedCommand&) const = default;
};

struct LonMarkObjectEntry {
    int index = 0;
    QString name;
    QString path; // the object's name as the host sends it to a plug-in
    QList<OfferedCommand> commands;
    bool operator==(const LonMarkObjectEntry&) const = default;
};

struct DeviceEntry {
    QString name;
    QString path;
    bool commissioned = false;
    QString state; // the state number, or why it could not be read
    QString programId;
    QString templateName;
    QList<LonMarkObjectEntry> objects;
    QList<OfferedCommand> commands;
    bool operator==(const DeviceEntry&) const = default;
    // "commissioned, state 4", as the host tool's browse prints it.
    QString stateWords() const;
};

struct SubsystemEntry {
    QString name;
    QList<DeviceEntry> devices;
    bool operator==(const SubsystemEntry&) const = default;
};

struct NetworkSnapshot {
    QString name;
    QString systemName;
    bool offNet = false;
    QList<SubsystemEntry> subsystems;
    QString problem; // why the network could not be read, with its number
    bool operator==(const NetworkSnapshot&) const = default;
};

// The names of the server's networks.
QStringList networkNames(lns::ObjectServer& server);

// The network's first system as the browser shows it; a failure to open it
// is kept in `problem`, a failure of one device's state in that device.
NetworkSnapshot readNetwork(lns::ObjectServer& server, const QString& name);

// "0x80044d14" style: the number of an error as the user looks it up.
QString errorNumberText(qint32 number);
