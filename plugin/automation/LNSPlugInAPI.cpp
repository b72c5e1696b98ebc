// SPDX-License-Identifier: Apache-2.0
#include "automation/LNSPlugInAPI.h"

#include "automation/CommandRegistration.h"
#include "automation/ConfigurationWindow.h"
#include "automation/NetworkOpening.h"
#include "automation/PlugInState.h"
#include "model/Specific.h"
#include "platform/Error.h"
#include "support/PlugInIdentity.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void raise(qint32 number, const QString& description) {
    throw Error(number, Identity().Name, description);
}

[[noreturn]] void raiseReadOnly() {
    raise(LNSPlugInAPI::ErrReadOnlyProperty,
          QStringLiteral("Attempt to write to read-only property"));
}

void doEvents() {
    QCoreApplication::processEvents();
}

// Window geometry travels in twips; the host speaks pixels.
qint32 toPixels(int twips, double twipsPerPixel) {
    return static_cast<qint32>(std::nearbyint(twips / twipsPerPixel));
}

int toTwips(qint32 pixels, double twipsPerPixel) {
    const double twips = pixels * twipsPerPixel;
    if (twips < std::numeric_limits<int>::min() || twips > std::numeric_limits<int>::max())
        raise(6, QStringLiteral("Overflow"));
    return static_cast<int>(twips);
}

// The busy mouse pointer for the life of the object.
class BusyPointer {
public:
    explicit BusyPointer(ConfigurationWindow& window) : m_window(window) {
        m_window.setBusyPointer(true);
    }
    ~BusyPointer() { m_window.setBusyPointer(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    ConfigurationWindow& m_window;
};

// Any failure of a lookup means the object is not there.
template <class Lookup> auto findOrNothing(Lookup lookup) -> decltype(lookup()) {
    try {
        return lookup();
    } catch (const std::exception&) {
        return nullptr;
    }
}

lns::Ref<lns::AppDevice> findAppDevice(const lns::Ref<lns::System>& system,
                                       const ObjectPath& path) {
    return findOrNothing([&] {
        const int count = path.Count();
        const auto subsystem = system->Subsystems()->Item(path.ElementName(count - 1));
        return subsystem->AppDevices()->Item(path.ElementName(count));
    });
}

lns::Ref<lns::LonMarkObject> findLonMarkObject(const lns::Ref<lns::System>& system,
                                               const ObjectPath& path) {
    return findOrNothing([&] {
        const int count = path.Count();
        const auto subsystem = system->Subsystems()->Item(path.ElementName(count - 2));
        const auto device = subsystem->AppDevices()->Item(path.ElementName(count - 1));
        return device->Interface()->LonMarkObjects()->Item(path.ElementName(count));
    });
}

} // namespace

LNSPlugInAPI::LNSPlugInAPI(PlugInServices& services) : m_services(services) {
    PlugInState& state = m_services.state;
    if (state.InstanceCount == 0) {
        FillSupportedCommands(state);
        InitResourceLocation(m_services.specific, m_services.store);
        state.ServerOpen = false;
        state.NetworkOpen = false;
        state.ObjectServer = m_services.window.ObjectServer();
    }
    ++state.InstanceCount;
}

LNSPlugInAPI::~LNSPlugInAPI() {
    PlugInState& state = m_services.state;
    --state.InstanceCount;
    try {
        if (!m_services.window.Visible() && state.InstanceCount == 0)
            m_services.window.EndPlugIn();
    } catch (const std::exception&) {
        // The plug-in is ending; there is nobody left to tell.
    }
}

void LNSPlugInAPI::SendCommand(qint32 commandId, qint16 objectClassId, const QString& objectName) {
    bool commandKnown = false;
    const SupportedCommand* command = runUnderProgress(commandId, objectClassId, commandKnown);
    if (commandId == RegisterCommandsCommand || commandId == RemoveCommandsCommand)
        return;
    if (command) {
        m_services.state.CurrentObjectName = objectName;
        m_services.state.ObjectPath = ObjectPath::split(objectName);
        handOver(*command, objectClassId);
    } else if (commandKnown) {
        raise(ErrObjectTypeNotSupported,
              QStringLiteral("Object type not supported for this command"));
    } else {
        raise(ErrCommandNotSupported, QStringLiteral("Command not supported"));
    }
}

const SupportedCommand* LNSPlugInAPI::runUnderProgress(qint32 commandId, qint16 objectClassId,
                                                       bool& commandKnown) {
    const SupportedCommand* matched = nullptr;
    {
        const std::unique_ptr<ProgressWindow> progress = m_services.progress();
        doEvents();
        if (commandId == RegisterCommandsCommand) {
            progress->DisplayStatus(QStringLiteral("Registering plug-in . . ."));
            if (!m_services.registration.RegisterCommands())
                raise(ErrUnableToRegister, QStringLiteral("Unable to register Supported Commands"));
        } else if (commandId == RemoveCommandsCommand) {
            progress->DisplayStatus(QStringLiteral("Unregistering plug-in . . ."));
            if (!m_services.registration.RemoveCommands(false, true))
                raise(ErrUnableToRegister,
                      QStringLiteral("Unable to unregister Supported Commands"));
        } else {
            progress->DisplayStatus(QStringLiteral("Initializing plug-in . . ."));
            for (const SupportedCommand& candidate : m_services.state.SupportedCommands) {
                if (candidate.CommandId != commandId)
                    continue;
                commandKnown = true;
                if (candidate.ObjectClassId == objectClassId) {
                    matched = &candidate;
                    break;
                }
            }
        }
    }
    doEvents();
    return matched;
}

void LNSPlugInAPI::handOver(const SupportedCommand& command, qint16 objectClassId) {
    const PlugInState& state = m_services.state;
    const lns::Ref<lns::System> system = state.CurrentSystem;
    if (system && objectClassId == AppDeviceClass) {
        if (const auto device = findAppDevice(system, state.ObjectPath)) {
            // Errors of the window reach the host as they are.
            m_services.window.ProcessDeviceCommand(device, command.CommandId);
            return;
        }
    } else if (system && objectClassId == LonMarkObjectClass) {
        if (const auto object = findLonMarkObject(system, state.ObjectPath)) {
            m_services.window.ProcessLonMarkObjectCommand(object, command.CommandId);
            return;
        }
    }
    raise(ErrObjectNotFound, QStringLiteral("Object not found"));
}

bool LNSPlugInAPI::Visible() const {
    return m_services.window.Visible();
}

void LNSPlugInAPI::setVisible(bool visible) {
    m_services.window.setVisible(visible);
}

QString LNSPlugInAPI::networkName() const {
    return m_services.state.CurrentNetworkName;
}

void LNSPlugInAPI::setNetworkName(const QString& name) {
    const BusyPointer busy(m_services.window);
    PlugInState& state = m_services.state;
    if (name == state.CurrentNetworkName && state.NetworkOpen)
        return;
    try {
        openNetworkOf(state, name, m_networkInterfaceName);
    } catch (const std::exception& failure) {
        // The host's message stays as it is; whoever reads the program's
        // output learns why.
        const auto* error = dynamic_cast<const Error*>(&failure);
        QTextStream(stderr) << "RM42xxPirConfigure: cannot open the network " << name << ": "
                            << (error ? error->description()
                                      : QString::fromLocal8Bit(failure.what()))
                            << Qt::endl;
        // No command may act on the network opened before this one.
        state.NetworkOpen = false;
        state.CurrentNetworkName.clear();
        state.CurrentNetwork.reset();
        state.CurrentSystem.reset();
        raise(ErrCannotProceed, QStringLiteral("Cannot open the network ") + name);
    }
}

bool LNSPlugInAPI::Remote() const {
    return m_services.state.ObjectServer->Remote();
}

void LNSPlugInAPI::setRemote(bool remote) {
    lns::ObjectServer& server = *m_services.state.ObjectServer;
    const bool wasOpen = server.IsOpen();
    if (wasOpen)
        server.Close();
    server.setRemote(remote);
    if (wasOpen)
        server.Open();
}

void LNSPlugInAPI::checkSizable(bool dimension) const {
    const ConfigurationWindow& window = m_services.window;
    if (dimension) {
        const ::BorderStyle style = window.BorderStyle();
        if (style == BorderStyle::FixedSingle || style == BorderStyle::FixedDialog ||
            style == BorderStyle::FixedToolWindow)
            raiseReadOnly();
    }
    if (window.WindowState() != WindowState::Normal)
        raise(ErrCannotProceed,
              QStringLiteral("Plug-in can't be moved or sized while minimized or maximized"));
}

qint32 LNSPlugInAPI::Height() const {
    return toPixels(m_services.window.Height(), m_services.window.TwipsPerPixelY());
}

void LNSPlugInAPI::setHeight(qint32 pixels) {
    checkSizable(true);
    m_services.window.setHeight(toTwips(pixels, m_services.window.TwipsPerPixelY()));
}

qint32 LNSPlugInAPI::Width() const {
    return toPixels(m_services.window.Width(), m_services.window.TwipsPerPixelX());
}

void LNSPlugInAPI::setWidth(qint32 pixels) {
    checkSizable(true);
    m_services.window.setWidth(toTwips(pixels, m_services.window.TwipsPerPixelX()));
}

qint32 LNSPlugInAPI::left() const {
    return toPixels(m_services.window.Left(), m_services.window.TwipsPerPixelX());
}

void LNSPlugInAPI::setLeft(qint32 pixels) {
    checkSizable(false);
    m_services.window.setLeft(toTwips(pixels, m_services.window.TwipsPerPixelX()));
}

qint32 LNSPlugInAPI::top() const {
    return toPixels(m_services.window.Top(), m_services.window.TwipsPerPixelY());
}

void LNSPlugInAPI::setTop(qint32 pixels) {
    checkSizable(false);
    m_services.window.setTop(toTwips(pixels, m_services.window.TwipsPerPixelY()));
}

bool LNSPlugInAPI::Minimized() const {
    return m_services.window.WindowState() == WindowState::Minimized;
}

void LNSPlugInAPI::setMinimized(bool minimized) {
    try {
        m_services.window.setWindowState(minimized ? WindowState::Minimized : WindowState::Normal);
    } catch (const std::exception&) {
        // The state is applied when the window can take it.
    }
    if (!m_services.window.Visible())
        raise(ErrCannotProceed,
              QStringLiteral("Can not modify the minimzed property when invisble. The property "
                             "will be applied the next time the plug-in is made visible"));
}

QString LNSPlugInAPI::ManufacturerID() const {
    return Identity().ManufacturerID;
}
void LNSPlugInAPI::setManufacturerID(const QString&) {
    raiseReadOnly();
}
QString LNSPlugInAPI::ManufacturerName() const {
    return Identity().ManufacturerName;
}
void LNSPlugInAPI::setManufacturerName(const QString&) {
    raiseReadOnly();
}
QString LNSPlugInAPI::LcaVersion() const {
    return PlugInIdentity::LcaVersion;
}
void LNSPlugInAPI::setLcaVersion(const QString&) {
    raiseReadOnly();
}
QString LNSPlugInAPI::Version() const {
    return Identity().Version;
}
void LNSPlugInAPI::setVersion(const QString&) {
    raiseReadOnly();
}
QString LNSPlugInAPI::Name() const {
    return Identity().Name;
}
void LNSPlugInAPI::setName(const QString&) {
    raiseReadOnly();
}

QString LNSPlugInAPI::DevelopmentProgramId() const {
    return m_services.state.DevelopmentProgramId;
}

void LNSPlugInAPI::setDevelopmentProgramId(const QString& programId) {
    m_services.state.DevelopmentProgramId = programId.size() == 16 ? programId : QString();
}
