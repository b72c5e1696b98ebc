// SPDX-License-Identifier: Apache-2.0
#include "objectserver/DatabaseCodec.h"

#include "objectserver/ChannelMedia.h"

#include <QJsonDocument>
#include <QSet>
#include <array>
#include <limits>

namespace lns::sim::DatabaseCodec {

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

constexpr std::array<std::pair<Failure, const char*>, 4> FailureNames{{
    {Failure::None, "none"},
    {Failure::Unreachable, "unreachable"},
    {Failure::WriteFails, "writeFails"},
    {Failure::FormatFails, "formatFails"},
}};

Failure readFailure(const JsonNode& owner) {
    if (!owner.has("failure"))
        return Failure::None;
    const JsonNode node = owner.field("failure");
    const QString text = node.toString();
    for (const auto& [failure, name] : FailureNames) {
        if (text == QLatin1String(name))
            return failure;
    }
    node.fail(QStringLiteral("is not one of none, unreachable, writeFails, formatFails"));
}

QString failureName(Failure failure) {
    for (const auto& [value, name] : FailureNames) {
        if (value == failure)
            return QLatin1String(name);
    }
    return QStringLiteral("none");
}

template <class Record, class Reader>
SharedList<Record> readList(const JsonNode& array, Reader read) {
    SharedList<Record> records;
    for (const JsonNode& element : array.elements())
        records.push_back(read(element));
    return records;
}

template <class Record, class Writer>
QJsonArray writeList(const SharedList<Record>& records, Writer write) {
    QJsonArray array;
    for (const auto& record : records)
        array.append(write(*record));
    return array;
}

Shared<ConfigPropertyRecord> readConfigProperty(const JsonNode& node) {
    auto cp = std::make_shared<ConfigPropertyRecord>();
    cp->name = node.field("name").toString();
    cp->scope = node.field("scope").toInt(0, 15);
    cp->typeIndex = node.field("typeIndex").toInt(0, 65535);
    cp->flags = static_cast<qint16>(node.field("flags").toInt(-32768, 32767));
    cp->format = node.field("format").toString();
    const JsonNode elements = node.field("elements");
    for (const JsonNode& element : elements.elements())
        cp->elements.push_back(element.toHex());
    if (cp->elements.empty())
        elements.fail(QStringLiteral("holds no element"));
    // The element count is a 16-bit number for every caller.
    if (cp->elements.size() > 32767)
        elements.fail(QStringLiteral("holds more than 32767 elements"));
    cp->failure = readFailure(node);
    cp->formatSpec = cp->format;
    return cp;
}

QJsonObject writeConfigProperty(const ConfigPropertyRecord& cp) {
    QJsonArray elements;
    for (const QByteArray& element : cp.elements)
        elements.append(QString::fromLatin1(element.toHex()));
    QJsonObject object{{"name", cp.name},   {"scope", cp.scope},   {"typeIndex", cp.typeIndex},
                       {"flags", cp.flags}, {"format", cp.format}, {"elements", elements}};
    if (cp.failure != Failure::None)
        object.insert("failure", failureName(cp.failure));
    return object;
}

Shared<ComponentAppRecord> readComponentApp(const JsonNode& node) {
    auto app = std::make_shared<ComponentAppRecord>();
    app->name = node.field("name").toString();
    app->progId = node.field("progId").toString();
    app->commandId = node.field("commandId").toInt(IntMin, IntMax);
    app->objectClassId = static_cast<qint16>(node.field("objectClassId").toInt(-32768, 32767));
    app->description = node.field("description").toString();
    app->version = node.field("version").toString();
    app->manufacturerId = node.field("manufacturerId").toString();
    app->defaultAction = node.field("defaultAction").toBool();
    return app;
}

QJsonObject writeComponentApp(const ComponentAppRecord& app) {
    return {{"name", app.name},
            {"progId", app.progId},
            {"commandId", app.commandId},
            {"objectClassId", app.objectClassId},
            {"description", app.description},
            {"version", app.version},
            {"manufacturerId", app.manufacturerId},
            {"defaultAction", app.defaultAction}};
}

Shared<NetworkVariableRecord> readNetworkVariable(const JsonNode& node) {
    auto nv = std::make_shared<NetworkVariableRecord>();
    nv->name = node.field("name").toString();
    nv->index = node.field("index").toInt(0, 65535);
    nv->configProperties =
        readList<ConfigPropertyRecord>(node.field("configProperties"), readConfigProperty);
    return nv;
}

QJsonObject writeNetworkVariable(const NetworkVariableRecord& nv) {
    return {{"name", nv.name},
            {"index", nv.index},
            {"configProperties", writeList(nv.configProperties, writeConfigProperty)}};
}

Shared<LonMarkObjectRecord> readLonMarkObject(const JsonNode& node) {
    auto object = std::make_shared<LonMarkObjectRecord>();
    object->name = node.field("name").toString();
    object->index = node.field("index").toInt(0, 65535);
    object->typeIndex = node.field("typeIndex").toInt(0, 65535);
    object->scope = node.field("scope").toInt(0, 15);
    object->configProperties =
        readList<ConfigPropertyRecord>(node.field("configProperties"), readConfigProperty);
    object->componentApps = readComponentApps(node.field("componentApps"));
    return object;
}

QJsonObject writeLonMarkObject(const LonMarkObjectRecord& object) {
    return {{"name", object.name},
            {"index", object.index},
            {"typeIndex", object.typeIndex},
            {"scope", object.scope},
            {"configProperties", writeList(object.configProperties, writeConfigProperty)},
            {"componentApps", writeComponentApps(object.componentApps)}};
}

} // namespace

Shared<DeviceTemplateRecord> readTemplate(const JsonNode& node) {
    auto deviceTemplate = std::make_shared<DeviceTemplateRecord>();
    deviceTemplate->name = node.field("name").toString();
    deviceTemplate->programId = node.field("programId").toString();
    deviceTemplate->componentApps = readComponentApps(node.field("componentApps"));
    deviceTemplate->interface = readInterface(node.field("interface"));
    return deviceTemplate;
}

QJsonObject writeTemplate(const DeviceTemplateRecord& deviceTemplate) {
    return {{"name", deviceTemplate.name},
            {"programId", deviceTemplate.programId},
            {"componentApps", writeComponentApps(deviceTemplate.componentApps)},
            {"interface", writeInterface(*deviceTemplate.interface)}};
}

Shared<AppDeviceRecord> readDeviceHead(const JsonNode& node) {
    auto device = std::make_shared<AppDeviceRecord>();
    device->name = node.field("name").toString();
    device->templateName = node.field("template").toString();
    device->programId = node.field("programId").toString();
    device->commissioned = node.field("commissioned").toBool();
    device->state = node.field("state").toInt(0, 65535);
    device->testResult = node.intOr("testResult", IntMin, IntMax, 0);
    device->failure = readFailure(node);
    device->interface = nullptr;
    return device;
}

Shared<AppDeviceRecord> readDevice(const JsonNode& node) {
    auto device = readDeviceHead(node);
    device->interface = readInterface(node.field("interface"));
    return device;
}

QJsonObject writeDevice(const AppDeviceRecord& device) {
    QJsonObject object{{"name", device.name},
                       {"template", device.templateName},
                       {"programId", device.programId},
                       {"commissioned", device.commissioned},
                       {"state", device.state},
                       {"testResult", device.testResult},
                       {"interface", writeInterface(*device.interface)}};
    if (device.failure != Failure::None)
        object.insert("failure", failureName(device.failure));
    return object;
}

namespace {

// A medium this simulation does not know needs its figure.
ChannelRecord readChannel(const JsonNode& system) {
    if (!system.has("channel"))
        return defaultChannel();
    const JsonNode node = system.field("channel");
    ChannelRecord channel;
    channel.medium = node.stringOr("medium", defaultChannel().medium);
    const std::optional<int> known = mediumCapacity(channel.medium);
    if (!known && !node.has("transactionsPerSecond"))
        node.fail(QStringLiteral("the medium \"%1\" needs \"transactionsPerSecond\"")
                      .arg(channel.medium));
    channel.transactionsPerSecond =
        node.intOr("transactionsPerSecond", 1, 10'000'000, known.value_or(1));
    return channel;
}

Shared<SubsystemRecord> readSubsystem(const JsonNode& node) {
    auto subsystem = readSubsystemSettings(node);
    const JsonNode devices = node.field("devices");
    subsystem->devices = readList<AppDeviceRecord>(devices, readDevice);
    // Devices are found by name: a second one of the same name could never be reached.
    QSet<QString> names;
    for (const auto& device : subsystem->devices) {
        if (names.contains(device->name))
            devices.fail(QStringLiteral("holds two devices named \"%1\"").arg(device->name));
        names.insert(device->name);
    }
    return subsystem;
}

QJsonObject writeSubsystem(const SubsystemRecord& subsystem) {
    QJsonObject object = writeSubsystemSettings(subsystem);
    object.insert("devices", writeList(subsystem.devices, writeDevice));
    return object;
}

Shared<SystemRecord> readSystem(const JsonNode& node) {
    auto system = readSystemSettings(node);
    system->templates = readList<DeviceTemplateRecord>(node.field("templates"), readTemplate);
    system->subsystems = readList<SubsystemRecord>(node.field("subsystems"), readSubsystem);
    return system;
}

QJsonObject writeSystem(const SystemRecord& system) {
    QJsonObject object = writeSystemSettings(system);
    object.insert("templates", writeList(system.templates, writeTemplate));
    object.insert("subsystems", writeList(system.subsystems, writeSubsystem));
    return object;
}

} // namespace

Shared<SystemRecord> readSystemSettings(const JsonNode& node) {
    auto system = std::make_shared<SystemRecord>();
    system->name = node.field("name").toString();
    system->managementMode = node.field("managementMode").toInt(0, 1);
    system->networkInterface = node.field("networkInterface").toString();
    system->engineeredModeFails = node.boolOr("engineeredModeFails", false);
    system->xifFolder = node.stringOr("xifFolder", QString());
    system->channel = readChannel(node);
    system->componentApps = readComponentApps(node.field("componentApps"));
    return system;
}

QJsonObject writeSystemSettings(const SystemRecord& system) {
    QJsonObject object{{"name", system.name},
                       {"managementMode", system.managementMode},
                       {"networkInterface", system.networkInterface},
                       {"componentApps", writeComponentApps(system.componentApps)}};
    if (system.engineeredModeFails)
        object.insert("engineeredModeFails", true);
    if (!system.xifFolder.isEmpty())
        object.insert("xifFolder", system.xifFolder);
    object.insert("channel",
                  QJsonObject{{"medium", system.channel.medium},
                              {"transactionsPerSecond", system.channel.transactionsPerSecond}});
    return object;
}

Shared<SubsystemRecord> readSubsystemSettings(const JsonNode& node) {
    auto subsystem = std::make_shared<SubsystemRecord>();
    subsystem->name = node.field("name").toString();
    return subsystem;
}

QJsonObject writeSubsystemSettings(const SubsystemRecord& subsystem) {
    return {{"name", subsystem.name}};
}

SharedList<ComponentAppRecord> readComponentApps(const JsonNode& array) {
    return readList<ComponentAppRecord>(array, readComponentApp);
}

QJsonArray writeComponentApps(const SharedList<ComponentAppRecord>& apps) {
    QJsonArray array;
    for (const auto& app : apps) {
        if (!app->pending)
            array.append(writeComponentApp(*app));
    }
    return array;
}

Shared<InterfaceRecord> readInterface(const JsonNode& node) {
    auto interface = std::make_shared<InterfaceRecord>();
    interface->configProperties =
        readList<ConfigPropertyRecord>(node.field("configProperties"), readConfigProperty);
    interface->networkVariables =
        readList<NetworkVariableRecord>(node.field("networkVariables"), readNetworkVariable);
    interface->lonMarkObjects =
        readList<LonMarkObjectRecord>(node.field("lonMarkObjects"), readLonMarkObject);
    return interface;
}

QJsonObject writeInterface(const InterfaceRecord& interface) {
    return {{"configProperties", writeList(interface.configProperties, writeConfigProperty)},
            {"networkVariables", writeList(interface.networkVariables, writeNetworkVariable)},
            {"lonMarkObjects", writeList(interface.lonMarkObjects, writeLonMarkObject)}};
}

namespace {

template <class Record>
std::optional<int> indexOf(const SharedList<Record>& list, const Record* item) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == item)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

QByteArray element(const QByteArray& path, const char* member, int index) {
    return path + '.' + member + '[' + QByteArray::number(index) + ']';
}

std::optional<DocumentPart> propertyIn(const InterfaceRecord& interface,
                                       const ConfigPropertyRecord* cp) {
    const QByteArray root = "$.interface";
    const auto found =
        [&](const QByteArray& owner,
            const SharedList<ConfigPropertyRecord>& list) -> std::optional<DocumentPart> {
        const std::optional<int> index = indexOf(list, cp);
        if (!index)
            return std::nullopt;
        return DocumentPart{element(owner, "configProperties", *index),
                            QJsonDocument(writeConfigProperty(*cp)).toJson(QJsonDocument::Compact)};
    };
    if (auto part = found(root, interface.configProperties))
        return part;
    for (size_t i = 0; i < interface.networkVariables.size(); ++i) {
        const auto& nv = interface.networkVariables[i];
        if (auto part =
                found(element(root, "networkVariables", static_cast<int>(i)), nv->configProperties))
            return part;
    }
    for (size_t i = 0; i < interface.lonMarkObjects.size(); ++i) {
        const auto& object = interface.lonMarkObjects[i];
        if (auto part = found(element(root, "lonMarkObjects", static_cast<int>(i)),
                              object->configProperties))
            return part;
    }
    return std::nullopt;
}

std::optional<DocumentPart> componentAppsIn(const SharedList<ComponentAppRecord>* own,
                                            const InterfaceRecord& interface,
                                            const SharedList<ComponentAppRecord>* apps) {
    const auto part = [&](const QByteArray& path) {
        return DocumentPart{
            path, QJsonDocument(writeComponentApps(*apps)).toJson(QJsonDocument::Compact)};
    };
    if (apps == own)
        return part("$.componentApps");
    for (size_t i = 0; i < interface.lonMarkObjects.size(); ++i) {
        if (&interface.lonMarkObjects[i]->componentApps == apps)
            return part(element("$.interface", "lonMarkObjects", static_cast<int>(i)) +
                        ".componentApps");
    }
    return std::nullopt;
}

std::optional<DocumentPart> partIn(const SharedList<ComponentAppRecord>* own,
                                   const InterfaceRecord& interface, const RecordPart& part) {
    if (const auto* cp = std::get_if<const ConfigPropertyRecord*>(&part))
        return propertyIn(interface, *cp);
    return componentAppsIn(own, interface, std::get<const SharedList<ComponentAppRecord>*>(part));
}

} // namespace

std::optional<DocumentPart> partOf(const DeviceTemplateRecord& deviceTemplate,
                                   const RecordPart& part) {
    return partIn(&deviceTemplate.componentApps, *deviceTemplate.interface, part);
}

std::optional<DocumentPart> partOf(const AppDeviceRecord& device, const RecordPart& part) {
    return partIn(nullptr, *device.interface, part);
}

NetworkRecord readNetwork(const JsonNode& root) {
    NetworkRecord network;
    network.systems = readList<SystemRecord>(root.field("systems"), readSystem);
    if (network.systems.empty())
        root.field("systems").fail(QStringLiteral("holds no system"));
    return network;
}

QJsonObject writeNetwork(const NetworkRecord& network) {
    return {{"systems", writeList(network.systems, writeSystem)}};
}

} // namespace lns::sim::DatabaseCodec
