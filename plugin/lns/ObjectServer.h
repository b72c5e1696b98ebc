// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/Collection.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// What the plug-in relies on of the LNS Object Server. Every operation that
// fails throws Error with number Error::LnsErrorBase + an LNS code (LnsCodes.h).
namespace lns {

class AppDevice;
class ComponentApps;
class Interface;
class LonMarkObjects;

class ComponentApp {
public:
    virtual ~ComponentApp() = default;
    virtual QString Name() const = 0;
    virtual QString ProgId() const = 0;
    virtual void setProgId(const QString& progId) = 0;
    virtual qint32 CommandId() const = 0;
    virtual void setCommandId(qint32 commandId) = 0;
    virtual qint16 ObjectClassId() const = 0;
    virtual void setObjectClassId(qint16 objectClassId) = 0;
    virtual QString Description() const = 0;
    virtual void setDescription(const QString& description) = 0;
    virtual QString Version() const = 0;
    virtual void setVersion(const QString& version) = 0;
    virtual QString ManufacturerId() const = 0;
    virtual void setManufacturerId(const QString& manufacturerId) = 0;
    virtual bool DefaultAction() const = 0;
    virtual void setDefaultAction(bool defaultAction) = 0;
};

class ComponentApps : public Collection<ComponentApp> {
public:
    // Fails with Code::AlreadyExists when the name is taken.
    virtual Ref<ComponentApp> Add(const QString& name, const QString& progId, qint16 objectClassId) = 0;
    virtual void Remove(int index) = 0;
};

class ConfigProperty {
public:
    virtual ~ConfigProperty() = default;
    virtual QString Name() const = 0;
    // A format name, optionally followed by "#US" or "#SI"; stays in force
    // for later reads and writes.
    virtual void setFormatSpec(const QString& formatSpec) = 0;
    virtual QString FormatSpec() const = 0;
    virtual qint16 Flags() const = 0;
    virtual qint16 ElementCount() const = 0;
    virtual QString FormattedValue() const = 0;
    virtual QString FormattedElement(int index) const = 0;
    // Element `index` as the device holds it, read in one transaction, so that
    // values sharing it can be formatted by FormatFetched without another.
    virtual QByteArray FetchElement(int index) const = 0;
    // `fetched` (from FetchElement) in the format specifier in force; no
    // transaction. Fails as FormattedElement does when formatting fails.
    virtual QString FormatFetched(const QByteArray& fetched) const = 0;
    virtual void setFormattedElement(int index, const QString& text) = 0;
    // Changes only some items of element `index` (`items` maps an item's
    // position, as the format separates them, to its text) and keeps the
    // others as the device holds them at that moment: the read and the write
    // are one transaction, so what another client wrote meanwhile stays.
    // Writes nothing when the device holds those values already; returns
    // whether it wrote. Fails as setFormattedElement does.
    virtual bool updateFormattedElement(int index, const QMap<int, QString>& items) = 0;
    virtual int ResourceScope() const = 0;
    virtual int TypeIndex() const = 0;
    virtual QString DsFormatType() const = 0;
    virtual void setDsFormatType(const QString& formatType) = 0;
};

using ConfigProperties = Collection<ConfigProperty>;

class NetworkVariable {
public:
    virtual ~NetworkVariable() = default;
    virtual QString Name() const = 0;
    virtual int Index() const = 0;
    virtual Ref<lns::ConfigProperties> ConfigProperties() const = 0;
};

using NetworkVariables = Collection<NetworkVariable>;

class LonMarkObject {
public:
    virtual ~LonMarkObject() = default;
    virtual QString Name() const = 0;
    virtual int Index() const = 0;
    virtual int TypeIndex() const = 0;
    // The resource-file scope under which the object is described (its "mode").
    virtual int ResourceScope() const = 0;
    virtual void setResourceScope(int scope) = 0;
    virtual Ref<lns::ConfigProperties> ConfigProperties() const = 0;
    virtual Ref<lns::ComponentApps> ComponentApps() const = 0;
    virtual Ref<lns::LonMarkObjects> Parent() const = 0;
};

class LonMarkObjects : public Collection<LonMarkObject> {
public:
    virtual Ref<lns::Interface> Parent() const = 0;
};

class Interface {
public:
    virtual ~Interface() = default;
    virtual Ref<lns::NetworkVariables> NetworkVariables() const = 0;
    virtual Ref<lns::LonMarkObjects> LonMarkObjects() const = 0;
    virtual Ref<lns::ConfigProperties> ConfigProperties() const = 0;
    // The device that owns the interface; empty for a device template's interface.
    virtual Ref<lns::AppDevice> Parent() const = 0;
};

class DeviceTemplate {
public:
    virtual ~DeviceTemplate() = default;
    virtual QString Name() const = 0;
    virtual QString ProgramId() const = 0;
    // Reads the external interface file (path in the system's form or native).
    virtual void Import(const QString& xifPath) = 0;
    virtual Ref<lns::ComponentApps> ComponentApps() const = 0;
    virtual Ref<lns::Interface> Interface() const = 0;
    virtual int AppDeviceCount() const = 0;
};

class DeviceTemplates : public Collection<DeviceTemplate> {
public:
    // Creates an empty template; `mode` is the platform's creation argument (1).
    virtual Ref<lns::DeviceTemplate> Add(const QString& name, int mode) = 0;
    virtual void Remove(const QString& name) = 0;
};

class TemplateLibrary {
public:
    virtual ~TemplateLibrary() = default;
    virtual Ref<lns::DeviceTemplates> DeviceTemplates() const = 0;
};

class AppDevice {
public:
    virtual ~AppDevice() = default;
    virtual QString Name() const = 0;
    virtual Ref<lns::Interface> Interface() const = 0;
    virtual bool Commissioned() const = 0;
    // Tests the device; 0 means the test passed.
    virtual int Test() = 0;
    // The device state word: 2 unconfigured, 3 applicationless, 4 configured on line, ...
    virtual int State() const = 0;
    virtual Ref<lns::DeviceTemplate> DeviceTemplate() const = 0;
    virtual QString ProgramId() const = 0;
    // The property the plug-in sets to 1 before it reads values on line.
    virtual void setOnlineAccess(int value) = 0;
};

using AppDevices = Collection<AppDevice>;

class Subsystem {
public:
    virtual ~Subsystem() = default;
    virtual QString Name() const = 0;
    virtual Ref<lns::AppDevices> AppDevices() const = 0;
};

using Subsystems = Collection<Subsystem>;

class NetworkInterface {
public:
    virtual ~NetworkInterface() = default;
    virtual QString Name() const = 0;
};

using NetworkInterfaces = Collection<NetworkInterface>;

class NetworkServiceDevice {
public:
    virtual ~NetworkServiceDevice() = default;
    // Empty when the device works without one (engineered mode).
    virtual Ref<lns::NetworkInterface> NetworkInterface() const = 0;
    virtual void setNetworkInterface(const Ref<lns::NetworkInterface>& networkInterface) = 0;
};

class System {
public:
    virtual ~System() = default;
    virtual QString Name() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // 1 is off-net.
    virtual int ManagementMode() const = 0;
    virtual Ref<lns::Subsystems> Subsystems() const = 0;
    virtual Ref<lns::TemplateLibrary> TemplateLibrary() const = 0;
    virtual Ref<lns::ComponentApps> ComponentApps() const = 0;
    virtual Ref<lns::NetworkServiceDevice> NetworkServiceDevice() const = 0;
    // The folder of the external interface files, in the system's form.
    virtual QString XifFolder() const = 0;
    // The Internet-path option and operation, and the numeric timing setting
    // written after every open.
    virtual void setInternetPathOption(bool enabled) = 0;
    virtual void InternetPathOperation(int argument) = 0;
    virtual void setTimingSetting(int value) = 0;
};

using Systems = Collection<System>;

class Network {
public:
    virtual ~Network() = default;
    virtual QString Name() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual Ref<lns::Systems> Systems() const = 0;
};

using Networks = Collection<Network>;

// Events of the Object Server, delivered on the window's thread.
class ObjectServerEvents {
public:
    virtual ~ObjectServerEvents() = default;
    virtual void onRepaint() = 0;                                    // event 9
    virtual void onMonitorValue(int monitorPoint, const QString& value) = 0; // event 13
    virtual void onMonitorError(int tag) = 0;                        // event 20
};

class ObjectServer {
public:
    static constexpr qint32 FlagInternet = 0x10;
    static constexpr qint32 FlagRemoteInterface = 0x20;

    virtual ~ObjectServer() = default;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual bool Remote() const = 0;
    virtual void setRemote(bool remote) = 0;
    // Whether the server opens itself on first use; the plug-in sets it false.
    virtual void setAutoOpen(bool autoOpen) = 0;
    virtual qint32 Flags() const = 0;
    virtual void setFlags(qint32 flags) = 0;
    virtual Ref<lns::NetworkInterfaces> RemoteNetworkInterfaces() const = 0;
    virtual Ref<lns::NetworkInterface> ActiveRemoteNetworkInterface() const = 0;
    virtual void setActiveRemoteNetworkInterface(const Ref<NetworkInterface>& networkInterface) = 0;
    virtual Ref<lns::Networks> Networks() const = 0;
    virtual Ref<lns::ComponentApps> ComponentApps() const = 0;
    // The listener is not owned; nullptr stops the events.
    virtual void setEventListener(ObjectServerEvents* listener) = 0;
};

} // namespace lns
