#pragma once

#include "host/ConfigurationWindow.h"
#include "lns/ObjectServer.h"
#include "model/FieldControls.h"

#include <QWidget>
#include <array>

class Dialogs;
class fLog;
class QComboBox;
class QLabel;
class QLineEdit;

// The configuration window of one thermostat.
class fMain : public QWidget, public ConfigurationWindow {
    Q_OBJECT

public:
    explicit fMain(Dialogs& dialogs, QWidget* parent = nullptr);

    // The value controls; the field catalog binds each of them to a field.
    std::array<QLineEdit*, FieldControls::TextBoxCount> txtNvi{};
    std::array<QComboBox*, FieldControls::ComboBoxCount> cbNvi{};
    QLineEdit* txtDebug = nullptr; // the raw model number, hidden
    QLabel* lbModel = nullptr;
    QLabel* lbHvacType = nullptr;

    // The device being configured, set by the command entry points.
    lns::Ref<lns::AppDevice> CurrentDevice;
    // The LonMark object of a LonMark-object command; empty for a device command.
    lns::Ref<lns::LonMarkObject> CurrentLonMarkObject;
    // The network variables of the device's interface.
    lns::Ref<lns::NetworkVariables> DeviceNvs;

    // The controls as the field catalog binds them.
    const FieldControls& fieldControls() const { return m_fieldControls; }

    // The configuration property of CurrentDevice that the path names, or nothing.
    lns::Ref<lns::ConfigProperty> GetCpByTypeIndex(const QString& sPathHandle);

    // The activity log window, created on first use; it lives as long as this window.
    fLog& LogWindow();

    // The network services control; the program hands it in at start-up.
    lns::Ref<lns::ObjectServer> lcaOS;
    void setObjectServer(lns::Ref<lns::ObjectServer> server) { lcaOS = std::move(server); }

    // What the plug-in object asks of the window.
    lns::Ref<lns::ObjectServer> ObjectServer() override { return lcaOS; }
    bool Visible() const override { return isVisible(); }
    void setVisible(bool visible) override { QWidget::setVisible(visible); }
    ::BorderStyle BorderStyle() const override { return ::BorderStyle::Sizable; }
    ::WindowState WindowState() const override;
    using QWidget::setWindowState;
    void setWindowState(::WindowState state) override;
    int Height() const override;
    void setHeight(int twips) override;
    int Width() const override;
    void setWidth(int twips) override;
    int Left() const override;
    void setLeft(int twips) override;
    int Top() const override;
    void setTop(int twips) override;
    double TwipsPerPixelX() const override;
    double TwipsPerPixelY() const override;
    void setBusyPointer(bool busy) override;
    void ProcessDeviceCommand(const lns::Ref<lns::AppDevice>& TheDevice, qint32 commandId) override;
    void ProcessLonMarkObjectCommand(const lns::Ref<lns::LonMarkObject>& TheLMObject,
                                     qint32 commandId) override;
    void EndPlugIn() override;

private:
    void createValueControls();

    Dialogs& m_dialogs;
    FieldControls m_fieldControls;
    fLog* m_log = nullptr;
};
