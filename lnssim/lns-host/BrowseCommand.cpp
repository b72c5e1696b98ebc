// SPDX-License-Identifier: Apache-2.0
// lns-host browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] [--units US|SI]:
// prints the network's contents as a host tool's browser shows them, or one
// device's or device template's LonMark objects, network variables and
// configuration properties.
#include "Subcommands.h"
#include "lns/ObjectServer.h"
#include "objectserver/NetworkName.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <functional>
#include <optional>

namespace {

struct BrowseRequest {
    QString network;
    QString devicePath; // "SUBSYSTEM/DEVICE" or empty
    QString templateName;
    QString units; // "US", "SI" or empty for each property's own format
};

std::optional<BrowseRequest> parseRequest(const QStringList& arguments) {
    BrowseRequest request;
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--units") && i + 1 < arguments.size())
            request.units = arguments[++i];
        else if (arguments[i] == QLatin1String("--template") && i + 1 < arguments.size())
            request.templateName = arguments[++i];
        else
            positional.append(arguments[i]);
    }
    const bool unitsValid = request.units.isEmpty() || request.units == QLatin1String("US") ||
                            request.units == QLatin1String("SI");
    const int allowed = request.templateName.isEmpty() ? 2 : 1;
    if (positional.isEmpty() || positional.size() > allowed || !unitsValid)
        return std::nullopt;
    request.network = positional[0];
    request.devicePath = positional.value(1);
    return request;
}

// The reason first; the error number, for whoever looks it up, after it.
QString errorText(const Error& error) {
    return QStringLiteral("failed: %1 (0x%2)")
        .arg(error.description())
        .arg(static_cast<quint32>(error.number()), 8, 16, QLatin1Char('0'));
}

// The value of one call, or its error; the browse goes on either way.
QString attempt(const std::function<QString()>& read) {
    try {
        return read();
    } catch (const Error& error) {
        return errorText(error);
    }
}

void printComponentApps(QTextStream& out, const lns::ComponentApps& apps, const QString& indent) {
    if (apps.Count() == 0)
        out << indent << "(no component applications)\n";
    for (int i = 1; i <= apps.Count(); ++i) {
        const auto app = apps.Item(i);
        out << indent << '"' << app->Name() << "\"  command " << app->CommandId() << "  class "
            << app->ObjectClassId() << "  " << app->ProgId()
            << (app->DefaultAction() ? "  default action" : "") << '\n';
    }
}

void printSubsystems(QTextStream& out, const lns::System& system) {
    out << "Subsystems\n";
    const auto subsystems = system.Subsystems();
    for (int s = 1; s <= subsystems->Count(); ++s) {
        const auto subsystem = subsystems->Item(s);
        out << "  " << subsystem->Name() << '\n';
        const auto devices = subsystem->AppDevices();
        for (int d = 1; d <= devices->Count(); ++d) {
            const auto device = devices->Item(d);
            out << "    " << device->Name() << "  "
                << (device->Commissioned() ? "commissioned" : "not commissioned") << "  state "
                << attempt([&] { return QString::number(device->State()); }) << '\n';
        }
    }
}

void printTemplates(QTextStream& out, const lns::System& system) {
    out << "Device templates\n";
    const auto templates = system.TemplateLibrary()->DeviceTemplates();
    for (int t = 1; t <= templates->Count(); ++t) {
        const auto deviceTemplate = templates->Item(t);
        out << "  " << deviceTemplate->Name() << "  program ID " << deviceTemplate->ProgramId()
            << "  devices " << deviceTemplate->AppDeviceCount() << '\n';
        printComponentApps(out, *deviceTemplate->ComponentApps(), QStringLiteral("    "));
    }
    out << "System component applications\n";
    printComponentApps(out, *system.ComponentApps(), QStringLiteral("  "));
}

void applyUnits(lns::ConfigProperty& cp, const QString& units) {
    if (!units.isEmpty())
        cp.setFormatSpec(cp.FormatSpec().section(QLatin1Char('#'), 0, 0) + QLatin1Char('#') +
                         units);
}

void printProperties(QTextStream& out, const lns::ConfigProperties& properties,
                     const QString& units, const QString& indent) {
    for (int c = 1; c <= properties.Count(); ++c) {
        const auto cp = properties.Item(c);
        applyUnits(*cp, units);
        out << indent << "CP \"" << cp->Name() << "\"  scope " << cp->ResourceScope() << "  type "
            << cp->TypeIndex() << "  flags " << cp->Flags() << "  elements " << cp->ElementCount()
            << "  " << cp->FormatSpec() << ": ";
        out << attempt([&] { return cp->FormattedValue(); }) << '\n';
    }
}

void printInterface(QTextStream& out, const lns::Interface& interface, const QString& units) {
    printProperties(out, *interface.ConfigProperties(), units, QStringLiteral("  "));
    const auto objects = interface.LonMarkObjects();
    for (int o = 1; o <= objects->Count(); ++o) {
        const auto object = objects->Item(o);
        out << "  LonMark object " << object->Index() << " \"" << object->Name() << "\"  type "
            << object->TypeIndex() << "  scope " << object->ResourceScope() << '\n';
        printProperties(out, *object->ConfigProperties(), units, QStringLiteral("    "));
    }
    const auto nvs = interface.NetworkVariables();
    for (int n = 1; n <= nvs->Count(); ++n) {
        const auto nv = nvs->Item(n);
        out << "  NV " << nv->Index() << " \"" << nv->Name() << "\"\n";
        printProperties(out, *nv->ConfigProperties(), units, QStringLiteral("    "));
    }
}

void printDevice(QTextStream& out, const lns::System& system, const BrowseRequest& request) {
    const QString subsystemName = request.devicePath.section(QLatin1Char('/'), 0, 0);
    const QString deviceName = request.devicePath.section(QLatin1Char('/'), 1);
    const auto device = system.Subsystems()->Item(subsystemName)->AppDevices()->Item(deviceName);
    out << "Device " << request.devicePath << "  program ID " << device->ProgramId() << "  "
        << (device->Commissioned() ? "commissioned" : "not commissioned") << "  state "
        << attempt([&] { return QString::number(device->State()); }) << '\n';
    printInterface(out, *device->Interface(), request.units);
}

void printTemplate(QTextStream& out, const lns::System& system, const BrowseRequest& request) {
    const auto deviceTemplate =
        system.TemplateLibrary()->DeviceTemplates()->Item(request.templateName);
    out << "Device template " << deviceTemplate->Name() << "  program ID "
        << deviceTemplate->ProgramId() << '\n';
    printInterface(out, *deviceTemplate->Interface(), request.units);
}

} // namespace

int runBrowse(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const std::optional<BrowseRequest> request = parseRequest(arguments);
    if (!request) {
        err << "usage: lns-host browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] [--units "
               "US|SI]\n";
        return 2;
    }
    try {
        lns::sim::requireNetworkName(request->network);
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const auto server = lns::sim::objectServerFromSettings(store);
        server->setAutoOpen(false);
        server->Open();
        const auto network = server->Networks()->Item(request->network);
        network->Open();
        const auto system = network->Systems()->Item(1);
        system->Open();
        out << "Network \"" << network->Name() << "\"  system \"" << system->Name() << "\"  "
            << (system->ManagementMode() == 1 ? "off-net" : "on-net") << '\n';
        if (!request->templateName.isEmpty()) {
            printTemplate(out, *system, *request);
        } else if (request->devicePath.isEmpty()) {
            printSubsystems(out, *system);
            printTemplates(out, *system);
        } else {
            printDevice(out, *system, *request);
        }
        system->Close();
        network->Close();
        server->Close();
    } catch (const Error& error) {
        out.flush();
        err << "lns-host browse: " << request->network << ": " << error.description() << " (0x"
            << QString::number(static_cast<quint32>(error.number()), 16) << ")\n";
        return 1;
    }
    return 0;
}
