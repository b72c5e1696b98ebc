// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <variant>
#include <vector>

// The content of a network database as plain data. Records are shared so that
// the objects handed to callers stay valid while collections grow and shrink.
namespace lns::sim {

template <class T> using Shared = std::shared_ptr<T>;
template <class T> using SharedList = std::vector<Shared<T>>;

// A failure that the database sets on a device or on one of its properties.
enum class Failure { None, Unreachable, WriteFails, FormatFails };

// A record kept as one row of the network database. `rowId` is 0 until the
// record is first saved; `revision` rises with every saved change, so that
// other processes reload only the rows that changed.
struct RowRecord {
    qint64 rowId = 0;
    qint64 parentRow = 0; // the system of a subsystem or template, the subsystem of a device
    qint64 revision = 0;
};

struct ComponentAppRecord {
    QString name;
    QString progId;
    qint32 commandId = 0;
    qint16 objectClassId = 0;
    QString description;
    QString version;
    QString manufacturerId;
    bool defaultAction = false;
    // Added by this process and not saved yet: it is saved with its first
    // change (its command ID), so no process sees it without its fields.
    bool pending = false;
};

struct ConfigPropertyRecord {
    QString name;
    int scope = 0;
    int typeIndex = 0;
    qint16 flags = 0;
    QString format;                   // the format name the property is described with
    std::vector<QByteArray> elements; // raw bytes of each element, at least one
    Failure failure = Failure::None;
    // Kept by the process while the network is open, not saved.
    QString formatSpec;
    QString dsFormatType;
};

struct NetworkVariableRecord {
    QString name;
    int index = 0;
    SharedList<ConfigPropertyRecord> configProperties;
};

struct LonMarkObjectRecord {
    QString name;
    int index = 0;
    int typeIndex = 0;
    int scope = 0;
    SharedList<ConfigPropertyRecord> configProperties;
    SharedList<ComponentAppRecord> componentApps;
};

struct InterfaceRecord {
    SharedList<ConfigPropertyRecord> configProperties;
    SharedList<NetworkVariableRecord> networkVariables;
    SharedList<LonMarkObjectRecord> lonMarkObjects;
};

struct DeviceTemplateRecord : RowRecord {
    QString name;
    QString programId;
    Shared<InterfaceRecord> interface = std::make_shared<InterfaceRecord>();
    SharedList<ComponentAppRecord> componentApps;
};

struct AppDeviceRecord : RowRecord {
    QString name;
    QString templateName;
    QString programId;
    bool commissioned = true;
    int state = 4;
    int testResult = 0;
    Failure failure = Failure::None;
    // Null until the process needs it (NetworkDatabase::interfaceOf): a
    // process that works on a few devices of a large network keeps only
    // their interfaces.
    Shared<InterfaceRecord> interface = std::make_shared<InterfaceRecord>();
    int onlineAccess = 0; // not saved
    // Read only, one copy for every opening of the network in the process
    // (SharedDeviceHeads); never changed.
    bool shared = false;
};

struct SubsystemRecord : RowRecord {
    QString name;
    SharedList<AppDeviceRecord> devices;
};

// The channel a system's devices sit on: its medium and the transactions a
// second it carries at full use (a request and its reply each).
struct ChannelRecord {
    QString medium;
    int transactionsPerSecond = 0;
};

struct SystemRecord : RowRecord {
    QString name;
    int managementMode = 0;
    QString networkInterface; // the network service device's own interface
    bool engineeredModeFails = false;
    QString xifFolder; // system form; empty for the LonWorks folder's Import
    ChannelRecord channel;
    SharedList<ComponentAppRecord> componentApps;
    SharedList<DeviceTemplateRecord> templates;
    SharedList<SubsystemRecord> subsystems;
    // Kept by the process while the network is open, not saved.
    bool open = false;
    QString currentInterface; // of the network service device; empty in engineered mode
    bool internetPathOption = false;
    int timingSetting = 0;
};

struct NetworkRecord {
    SharedList<SystemRecord> systems;
};

// The part of a row's record that a change touches, so that only that part
// is written: a configuration property, or a list of component applications.
using RecordPart = std::variant<const ConfigPropertyRecord*, const SharedList<ComponentAppRecord>*>;

} // namespace lns::sim
