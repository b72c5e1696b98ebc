// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/JsonNode.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <optional>

// Network database records to and from JSON. The layout of network.json:
//   { "systems": [ { "name", "managementMode", "networkInterface",
//       "engineeredModeFails"?, "xifFolder"?, "componentApps": [...],
//       "templates": [ { "name", "programId", "componentApps", "interface" } ],
//       "subsystems": [ { "name", "devices": [ { "name", "template", "programId",
//           "commissioned", "state", "testResult"?, "failure"?, "interface" } ] } ] } ] }
//   interface: { "configProperties": [cp], "networkVariables": [ { "name", "index",
//       "configProperties" } ], "lonMarkObjects": [ { "name", "index", "typeIndex",
//       "scope", "configProperties", "componentApps" } ] }
//   cp: { "name", "scope", "typeIndex", "flags", "format", "elements": [hex, ...], "failure"? }
//   failure: "none", "unreachable", "writeFails" or "formatFails"
// Fields marked "?" may be left out.
// A network database keeps one such object per row: a system's settings (the
// system without "templates" and "subsystems"), a subsystem's (its name), a
// device template, a device.
namespace lns::sim::DatabaseCodec {

NetworkRecord readNetwork(const JsonNode& root);
QJsonObject writeNetwork(const NetworkRecord& network);

Shared<SystemRecord> readSystemSettings(const JsonNode& node);
QJsonObject writeSystemSettings(const SystemRecord& system);
Shared<SubsystemRecord> readSubsystemSettings(const JsonNode& node);
QJsonObject writeSubsystemSettings(const SubsystemRecord& subsystem);
Shared<DeviceTemplateRecord> readTemplate(const JsonNode& node);
QJsonObject writeTemplate(const DeviceTemplateRecord& deviceTemplate);
Shared<AppDeviceRecord> readDevice(const JsonNode& node);
// A device without its interface, which stays null.
Shared<AppDeviceRecord> readDeviceHead(const JsonNode& node);
QJsonObject writeDevice(const AppDeviceRecord& device);

SharedList<ComponentAppRecord> readComponentApps(const JsonNode& array);
// Leaves out the applications not saved yet.
QJsonArray writeComponentApps(const SharedList<ComponentAppRecord>& apps);

Shared<InterfaceRecord> readInterface(const JsonNode& node);
QJsonObject writeInterface(const InterfaceRecord& interface);

// A part of a row's document: its path for SQLite's JSON functions
// ("$.interface.lonMarkObjects[1].configProperties[4]") and its content as
// compact JSON.
struct DocumentPart {
    QByteArray path;
    QByteArray json;
};
// Where `part` is kept in the row of the record; nothing when the record does
// not hold it.
std::optional<DocumentPart> partOf(const DeviceTemplateRecord& deviceTemplate,
                                   const RecordPart& part);
std::optional<DocumentPart> partOf(const AppDeviceRecord& device, const RecordPart& part);

} // namespace lns::sim::DatabaseCodec
