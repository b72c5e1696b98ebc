// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ProgressWindow.h"

#include <QString>

class CommandRegistration;
class ConfigurationWindow;
class SettingsStore;
struct Specific;
struct PlugInState;
struct SupportedCommand;

// What the plug-in objects of one process work with.
struct PlugInServices {
    PlugInState& state;
    ConfigurationWindow& window;
    CommandRegistration& registration;
    ProgressWindowFactory progress;
    SettingsStore& store;
    Specific& specific;
};

// The automation object through which the LNS host drives the plug-in. All
// objects of a process share one configuration window, one Object Server and
// one open network. Every error raised here has the identity Name as source.
class LNSPlugInAPI {
public:
    static constexpr qint32 ErrUnableToRegister = 20000;
    static constexpr qint32 ErrReadOnlyProperty = 20002;
    static constexpr qint32 ErrCommandNotSupported = 20003;
    static constexpr qint32 ErrObjectTypeNotSupported = 20004;
    static constexpr qint32 ErrObjectNotFound = 20005;
    static constexpr qint32 ErrCannotProceed = 20006;

    static constexpr qint32 ConfigureCommand = 13;
    static constexpr qint32 RegisterCommandsCommand = 50;
    static constexpr qint32 RemoveCommandsCommand = 51;
    static constexpr qint16 AppDeviceClass = 7;
    static constexpr qint16 LonMarkObjectClass = 28;

    explicit LNSPlugInAPI(PlugInServices& services);
    ~LNSPlugInAPI();
    LNSPlugInAPI(const LNSPlugInAPI&) = delete;
    LNSPlugInAPI& operator=(const LNSPlugInAPI&) = delete;

    void SendCommand(qint32 commandId, qint16 objectClassId, const QString& objectName);
    bool Visible() const;
    void setVisible(bool visible);
    QString networkName() const;
    void setNetworkName(const QString& name);
    QString NetworkInterfaceName() const { return m_networkInterfaceName; }
    void setNetworkInterfaceName(const QString& name) { m_networkInterfaceName = name; }
    bool Remote() const;
    void setRemote(bool remote);
    qint32 Height() const;
    void setHeight(qint32 pixels);
    qint32 Width() const;
    void setWidth(qint32 pixels);
    qint32 left() const;
    void setLeft(qint32 pixels);
    bool Minimized() const;
    void setMinimized(bool minimized);
    QString ManufacturerID() const;
    void setManufacturerID(const QString& value);
    QString ManufacturerName() const;
    void setManufacturerName(const QString& value);
    QString LcaVersion() const;
    void setLcaVersion(const QString& value);
    QString Version() const;
    void setVersion(const QString& value);
    qint32 top() const;
    void setTop(qint32 pixels);
    QString Name() const;
    void setName(const QString& value);
    QString DevelopmentProgramId() const;
    void setDevelopmentProgramId(const QString& programId);

private:
    // Runs steps 1 to 3 of a command under the progress window; the matching
    // supported command of a configure command, or nullptr.
    const SupportedCommand* runUnderProgress(qint32 commandId, qint16 objectClassId,
                                             bool& commandKnown);
    void handOver(const SupportedCommand& command, qint16 objectClassId);
    void checkSizable(bool dimension) const;

    PlugInServices& m_services;
    QString m_networkInterfaceName;
};
