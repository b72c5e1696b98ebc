#pragma once

#include "lns/ObjectServer.h"
#include "model/FieldControls.h"

#include <QWidget>
#include <array>

class Dialogs;
class QComboBox;
class QLabel;
class QLineEdit;

// The configuration window of one thermostat.
class fMain : public QWidget {
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

private:
    void createValueControls();

    Dialogs& m_dialogs;
    FieldControls m_fieldControls;
};
