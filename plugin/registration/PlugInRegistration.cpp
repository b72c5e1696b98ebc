// SPDX-License-Identifier: Apache-2.0
#include "registration/PlugInRegistration.h"

#include "automation/PlugInState.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/ProcessLauncher.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

#include <QTextStream>

namespace {

const QString LineBreak = QStringLiteral("\r\n");
// How long the program's own /regserver and /unregserver may take.
constexpr int ServerSwitchTimeoutMs = 10000;

// Flags are written as -1 or 1; anything outside -1 to 1 becomes 1, and 0
// is written as an empty text.
QString flagText(int flag) {
    if (flag < -1 || flag > 1)
        flag = 1;
    return flag == 0 ? QString() : QString::number(flag);
}

int leadingNumber(const QString& text) {
    QString digits;
    const QString trimmed = text.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c.isDigit() || (i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            digits += c;
        else
            break;
    }
    return digits.toInt();
}

// Runs one step of a pass that ignores every error; whether it worked.
bool succeeds(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool isOlder(const std::pair<int, int>& mine, const std::pair<int, int>& registered) {
    return mine.first < registered.first ||
           (mine.first == registered.first && mine.second < registered.second);
}

} // namespace

QString PlugInRegistration::PlugInKey() {
    return QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\") + Identity().Name;
}

std::pair<int, int> PlugInRegistration::ParseVersion(const QString& version) {
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    const int major = leadingNumber(dot < 0 ? version : version.left(dot));
    const QString rest = dot < 0 ? QString() : version.mid(dot + 1).section(QLatin1Char(' '), 0, 0);
    return {major, leadingNumber(rest.section(QLatin1Char('.'), 0, 0))};
}

void PlugInRegistration::inform(const QString& text, DialogIcon icon) {
    m_context.dialogs.message({text, Identity().Name, DialogButtons::Ok, icon, 0});
}

void PlugInRegistration::Register(bool interactive) {
    CRegistry registry(m_context.store);
    const bool update = !registry.MachineSetting(PlugInKey(), QString()).isEmpty();
    if (update &&
        isOlder(ParseVersion(Identity().Version),
                ParseVersion(registry.MachineSetting(PlugInKey(), QStringLiteral("Version"))))) {
        if (interactive)
            inform(QStringLiteral("A newer version of this plug-in is already registered"),
                   DialogIcon::Information);
        return;
    }
    try {
        // The platform records the automation class only when asked, so the
        // class is registered from the window as well as from the command line.
        // Waited for: the host may start the plug-in right after.
        m_context.launcher.run(m_context.executablePath, {QStringLiteral("/regserver")},
                               ServerSwitchTimeoutMs);
    } catch (const Error& error) {
        m_failed = true;
        if (interactive) {
            inform(QStringLiteral("Plug-in ") + Identity().ProgID +
                       QStringLiteral(" registration as COM server failed"),
                   DialogIcon::Critical);
            return;
        }
        // Silent registration goes on, but says so and ends in failure.
        QTextStream(stderr) << "RM42xxPirConfigure: " << Identity().ProgID
                            << " registration as COM server failed: " << error.description()
                            << Qt::endl;
    }
    writeRegistryValues();
    if (interactive)
        inform((update ? QStringLiteral("Updated version of plug-in registered as ")
                       : QStringLiteral("Plug-in registered as ")) +
                   Identity().ProgID,
               DialogIcon::Information);
}

void PlugInRegistration::writeRegistryValues() {
    const PlugInIdentity& identity = Identity();
    const std::pair<QString, QString> values[] = {
        {QString(), identity.ProgID},
        {QStringLiteral("Name"), identity.Name},
        {QStringLiteral("Description"), identity.Description},
        {QStringLiteral("Scope"), QStringLiteral("2")},
        {QStringLiteral("ManufacturerName"), identity.ManufacturerName},
        {QStringLiteral("Version"), identity.Version},
        {QStringLiteral("LcaVersion"), PlugInIdentity::LcaVersion},
        {QStringLiteral("Prelaunch"), flagText(-1)},
        {QStringLiteral("MultiObject"), flagText(-1)},
        {QStringLiteral("SingleInstance"), flagText(1)},
    };
    CRegistry registry(m_context.store);
    for (const auto& [name, text] : values)
        registry.MachineSetting(PlugInKey(), name,
                                text); // a value that cannot be written is skipped
}

void PlugInRegistration::Deregister(int mode, bool interactive) {
    ThePlugInState().Interactive = interactive;
    if (mode == ModeComplete || mode == ModeExhaustive)
        removeCommandsFromAllNetworks(mode == ModeExhaustive, interactive);
    removeAutomationRegistration(interactive);
}

void PlugInRegistration::removeCommandsFromAllNetworks(bool exhaustive, bool interactive) {
    FillSupportedCommands(ThePlugInState());
    std::unique_ptr<ProgressWindow> progress;
    if (interactive) {
        progress = m_context.progressWindow();
        if (progress)
            progress->DisplayStatus(QStringLiteral("Opening the Object Server..."));
    }
    lns::Ref<lns::ObjectServer> server;
    try {
        server = m_context.objectServer();
        server->setRemote(false);
        server->Open();
        const lns::Ref<lns::Networks> networks = server->Networks();
        for (int index = 1; index <= networks->Count(); ++index) {
            lns::Ref<lns::Network> network;
            if (succeeds([&] { network = networks->Item(index); }))
                removeFromNetwork(network, exhaustive, index == 1, progress.get());
        }
    } catch (const std::exception&) {
        // No Object Server or no networks: nothing to remove.
    }
    progress.reset();
    if (m_context.processEvents)
        m_context.processEvents();
    if (server)
        succeeds([&] { server->Close(); });
}

void PlugInRegistration::removeFromNetwork(const lns::Ref<lns::Network>& network, bool exhaustive,
                                           bool firstNetwork, ProgressWindow* progress) {
    auto status = [&](const QString& text) {
        if (progress)
            progress->DisplayStatus(text);
    };
    QString name;
    succeeds([&] { name = network->Name(); });
    const QString opening = QStringLiteral("Opening ") + name + QStringLiteral("...");
    status(opening);
    lns::Ref<lns::System> system;
    if (succeeds([&] { network->Open(); }) &&
        succeeds([&] { system = network->Systems()->Item(1); })) {
        if (openSystem(system, opening, status)) {
            status(QStringLiteral("Deregister commands..."));
            succeeds([&] { m_context.removeCommands(system, exhaustive, firstNetwork); });
        }
        succeeds([&] { system->Close(); });
    }
    succeeds([&] { network->Close(); });
}

bool PlugInRegistration::openSystem(const lns::Ref<lns::System>& system, const QString& opening,
                                    const std::function<void(const QString&)>& status) {
    // Engineered mode first: without its network interface the system opens
    // without touching the network. A service device that cannot be read or
    // changed only makes that less likely to work.
    lns::Ref<lns::NetworkServiceDevice> serviceDevice;
    lns::Ref<lns::NetworkInterface> savedInterface;
    succeeds([&] { serviceDevice = system->NetworkServiceDevice(); });
    if (serviceDevice) {
        succeeds([&] { savedInterface = serviceDevice->NetworkInterface(); });
        succeeds([&] { serviceDevice->setNetworkInterface(nullptr); });
    }
    status(opening + LineBreak + QStringLiteral("Engineered system mode"));
    if (succeeds([&] { system->Open(); }))
        return true;
    if (serviceDevice)
        succeeds([&] { serviceDevice->setNetworkInterface(savedInterface); });
    QString interfaceName;
    if (savedInterface)
        succeeds([&] { interfaceName = savedInterface->Name(); });
    status(opening + LineBreak + QStringLiteral("Network Interface '") + interfaceName +
           QLatin1Char('\''));
    return succeeds([&] { system->Open(); });
}

void PlugInRegistration::removeAutomationRegistration(bool interactive) {
    try {
        m_context.launcher.run(m_context.executablePath, {QStringLiteral("/unregserver")},
                               ServerSwitchTimeoutMs);
    } catch (const Error& error) {
        if (interactive)
            inform(QStringLiteral("Plug-in ") + Identity().ProgID +
                       QStringLiteral(" deregistration as COM server failed") + QLatin1Char('\r') +
                       QStringLiteral("Verify that there are not instances running") +
                       QLatin1Char('\r') + error.description(),
                   DialogIcon::Critical);
        else
            QTextStream(stderr) << "RM42xxPirConfigure: " << Identity().ProgID
                                << " deregistration as COM server failed: " << error.description()
                                << Qt::endl;
        m_failed = true;
        return;
    }
    CRegistry registry(m_context.store);
    const bool deleted = registry.DeleteMachineKey(PlugInKey());
    if (!interactive)
        return;
    inform(deleted ? QStringLiteral("Plug-in ") + Identity().Name + QStringLiteral(" deregistered")
                   : QStringLiteral("Plug-in ") + Identity().Name +
                         QStringLiteral(" does not exisit in the Windows registery"),
           DialogIcon::Information);
}

void PlugInRegistration::ShowRegistrationWindow() {
    m_context.showRegistrationWindow();
}
