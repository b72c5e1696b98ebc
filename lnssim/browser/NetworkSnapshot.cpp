// SPDX-License-Identifier: Apache-2.0
#include "NetworkSnapshot.h"

#include "lns/ObjectServer.h"
#include "platform/Error.h"

namespace {

// The object classes of the host's commands: a device, a LonMark object.
constexpr qint16 AppDeviceClass = 7;
constexpr qint16 LonMarkObjectClass = 28;

// The applications registered for objects of one class.
QList<OfferedCommand> offered(const lns::ComponentApps& apps, qint16 objectClass) {
    QList<OfferedCommand> commands;
    for (int i = 1; i <= apps.Count(); ++i) {
        const auto app = apps.Item(i);
        if (app->ObjectClassId() == objectClass)
            commands.append({app->Name(), app->CommandId(), app->ObjectClassId(), app->ProgId(),
                             app->DefaultAction()});
    }
    return commands;
}

QString stateOf(const lns::AppDevice& device) {
    try {
        return QString::number(device.State());
    } catch (const Error& error) {
        return QStringLiteral("failed: %1 (%2)")
            .arg(error.description(), errorNumberText(error.number()));
    }
}

// A device offers its template's commands for devices; each of its LonMark
// objects the template's commands for LonMark objects, and those of the
// template's object with the same index.
// A device without a template offers nothing.
void addTemplateCommands(DeviceEntry& entry, const lns::AppDevice& device) {
    lns::Ref<lns::DeviceTemplate> deviceTemplate;
    try {
        deviceTemplate = device.DeviceTemplate();
    } catch (const Error&) {
        return;
    }
    entry.templateName = deviceTemplate->Name();
    const auto apps = deviceTemplate->ComponentApps();
    entry.commands = offered(*apps, AppDeviceClass);
    const auto templateObjects = deviceTemplate->Interface()->LonMarkObjects();
    for (LonMarkObjectEntry& object : entry.objects) {
        object.commands = offered(*apps, LonMarkObjectClass);
        for (int o = 1; o <= templateObjects->Count(); ++o) {
            const auto templateObject = templateObjects->Item(o);
            if (templateObject->Index() == object.index)
                object.commands += offered(*templateObject->ComponentApps(), LonMarkObjectClass);
        }
    }
}

DeviceEntry readDevice(const lns::AppDevice& device, const QString& subsystemPath) {
    DeviceEntry entry;
    entry.name = device.Name();
    entry.path = subsystemPath + QLatin1Char('/') + entry.name;
    entry.commissioned = device.Commissioned();
    entry.state = stateOf(device);
    entry.programId = device.ProgramId();
    const auto objects = device.Interface()->LonMarkObjects();
    for (int o = 1; o <= objects->Count(); ++o) {
        const auto object = objects->Item(o);
        entry.objects.append({object->Index(),
                              object->Name(),
                              entry.path + QStringLiteral("/Obj:") + object->Name(),
                              {}});
    }
    addTemplateCommands(entry, device);
    return entry;
}

void readSubsystems(NetworkSnapshot& snapshot, const lns::System& system) {
    const auto subsystems = system.Subsystems();
    for (int s = 1; s <= subsystems->Count(); ++s) {
        const auto subsystem = subsystems->Item(s);
        SubsystemEntry entry{subsystem->Name(), {}};
        const QString path =
            snapshot.name + QLatin1Char('/') + snapshot.systemName + QLatin1Char('/') + entry.name;
        const auto devices = subsystem->AppDevices();
        for (int d = 1; d <= devices->Count(); ++d)
            entry.devices.append(readDevice(*devices->Item(d), path));
        snapshot.subsystems.append(entry);
    }
}

} // namespace

QString DeviceEntry::stateWords() const {
    return QStringLiteral("%1, state %2")
        .arg(commissioned ? QStringLiteral("commissioned") : QStringLiteral("not commissioned"),
             state);
}

QString errorNumberText(qint32 number) {
    return QStringLiteral("0x%1").arg(static_cast<quint32>(number), 8, 16, QLatin1Char('0'));
}

QStringList networkNames(lns::ObjectServer& server) {
    QStringList names;
    const auto networks = server.Networks();
    for (int n = 1; n <= networks->Count(); ++n)
        names.append(networks->Item(n)->Name());
    return names;
}

NetworkSnapshot readNetwork(lns::ObjectServer& server, const QString& name) {
    NetworkSnapshot snapshot;
    snapshot.name = name;
    try {
        const auto network = server.Networks()->Item(name);
        network->Open();
        const auto system = network->Systems()->Item(1);
        system->Open();
        snapshot.systemName = system->Name();
        snapshot.offNet = system->ManagementMode() == 1;
        readSubsystems(snapshot, *system);
        system->Close();
        network->Close();
    } catch (const Error& error) {
        snapshot.subsystems.clear();
        snapshot.problem =
            QStringLiteral("%1 (%2)").arg(error.description(), errorNumberText(error.number()));
    }
    return snapshot;
}
