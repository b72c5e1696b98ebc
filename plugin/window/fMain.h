// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ConfigurationWindow.h"
#include "automation/ProgressWindow.h"
#include "lns/ObjectServer.h"
#include "lns/ResourceCatalog.h"
#include "model/FieldControls.h"
#include "model/SetpointRules.h"
#include "window/HeldInput.h"
#include "window/ValueComboBox.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CNvCtrlTable;
class Dialogs;
class SettingsStore;
class HelpWindow;
class fLog;
struct PlugInState;
struct Specific;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QToolButton;

// What the configuration window works with; the program hands it in.
struct fMainServices {
    Dialogs& dialogs;
    SettingsStore& store;
    PlugInState& state;
    Specific& specific;
    // The LonMark resource catalog, for the resource check and the DRF look-up.
    lns::ResourceCatalogFactory catalogs;
    // A loaded and shown progress window.
    ProgressWindowFactory progress;
    // The plug-in's key under HKEY_LOCAL_MACHINE, where the display units are kept.
    QString plugInKey;
    // Whether the maker's resource files are in the catalog, checked before a
    // device opens.
    std::function<bool()> resourceFilesPresent;
};

// The configuration window of one thermostat: eight tabs of values, the
// device state in the status bar, and the buttons that apply, cancel,
// refresh, log and exit. The window's code is split by concern over the
// fMain*.cpp files.
class fMain : public QWidget, public ConfigurationWindow, private lns::ObjectServerEvents {
    Q_OBJECT

public:
    explicit fMain(fMainServices services, QWidget* parent = nullptr);
    ~fMain() override;

    // --- Controls, named as the code and the tests address them ---------------
    QTabWidget* tabData = nullptr;
    std::array<QGroupBox*, 8> frmCategory{};
    std::array<QLineEdit*, FieldControls::TextBoxCount> txtNvi{};
    std::array<ValueComboBox*, FieldControls::ComboBoxCount> cbNvi{};
    std::array<QLabel*, 15> txtTempUnits{};
    QLabel* txtUnitMinPos = nullptr;
    QLineEdit* txtDebug = nullptr; // the raw model number, hidden
    QPushButton* cmdDebug = nullptr;
    QLabel* lbModel = nullptr;
    QLabel* lbHvacType = nullptr;
    QLabel* lblDeviceTemplate = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Picture1 = nullptr;
    QGroupBox* frmUnits = nullptr;
    std::array<QRadioButton*, 2> obUnits{};
    QToolButton* cmdHelp = nullptr;
    QToolButton* cmdViewLog = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdExit = nullptr;
    QStatusBar* StatusBar = nullptr;
    std::array<QLabel*, 2> StatusPanels{}; // panel 1: device state, panel 2: object name
    QGroupBox* frmSelectOfflineHvacType = nullptr;
    QComboBox* cbOfflineHvacType = nullptr;
    QGroupBox* frmHeatPump = nullptr;
    QGroupBox* frmEconomizer = nullptr;
    QGroupBox* frmHeatPumpStages = nullptr;
    QGroupBox* frmHeatingStages = nullptr;
    QGroupBox* frmProgRecovery = nullptr;
    QGroupBox* frmPeriode2 = nullptr;
    QTextBrowser* WebBrowser1 = nullptr;
    QLineEdit* txtMajorVersion = nullptr;
    QLineEdit* txtMinorVersion = nullptr;

    // --- Window state ---------------------------------------------------------
    lns::Ref<lns::AppDevice> CurrentDevice;
    // The LonMark object of a LonMark-object command; empty for a device command.
    lns::Ref<lns::LonMarkObject> CurrentLonMarkObject;
    lns::Ref<lns::NetworkVariables> DeviceNvs;
    bool ReadyToMonitor = false;
    bool ChangesPending = false;
    // True from a completed device opening until the next command: only an
    // opened device's values are shown, edited and applied.
    bool DeviceOpened() const { return m_deviceOpened; }

    // The controls as the field catalog binds them.
    const FieldControls& fieldControls() const { return m_fieldControls; }
    // The activity log window, created on first use.
    fLog& activityLog();
    // The help context id of the tab shown.
    int helpContextId() const { return m_helpContextId; }

    // The configuration property of CurrentDevice that the path names, or nothing.
    lns::Ref<lns::ConfigProperty> GetCpByTypeIndex(const QString& sPathHandle);

    // The network services control; the program hands it in at start-up.
    lns::Ref<lns::ObjectServer> lcaOS;
    void setObjectServer(lns::Ref<lns::ObjectServer> server);

    // --- Device opening ---------------------------------------------------------
    bool DrfLookUp();
    bool SetDevTemplateLabel();
    bool InitDevice();
    void RefreshDeviceStatus();
    bool InitNvTable();
    bool ReadInitValues();

    // --- Display ----------------------------------------------------------------
    void DisplayFieldValues();
    bool EnableNvFields(bool enable);
    bool ShowMonitoredValue(const CNvCtrlTable& field, const QString& value);
    void ApplyModelLayout(qint16 model);
    // Puts the modified mark on a value control and enables Apply and Cancel.
    void markModified(QWidget* control);

    // --- Editing ----------------------------------------------------------------
    // The handlers of the value controls, by index in their array. Modifier
    // bits as in rules::Modifier.
    void txtNvi_GotFocus(int index);
    // False when the character is not to be inserted.
    bool txtNvi_KeyPress(int index, QChar character);
    // True when the key was a step key and was handled.
    bool txtNvi_KeyDown(int index, int key, int modifiers);
    // The checks when leaving a box; each is true when it undid the entry or
    // adjusted a value, and so told the user something.
    bool txtNvi_Validate(int index);
    bool txtNvi_LostFocus(int index);
    void cbNvi_Click(int index);
    void cbNvi_KeyDown(int index, int key);
    void cbNvi_DropDown(int index);
    bool cbNvi_LostFocus(int index);
    // The text box that is locked: it takes no edits.
    bool isLocked(int index) const;

    // --- Apply and cancel ---------------------------------------------------------
    void cmdApply_Click();
    bool PropagateChanges();
    void cmdDebug_Click();

    // --- Buttons ----------------------------------------------------------------
    void cmdCancel_Click();
    void cmdRefresh_Click();
    void cmdHelp_Click();
    void cmdViewLog_Click();
    void cmdExit_Click();
    void tabData_Click();
    void obUnits_Click(int index);
    // Stores the display units; a confirmed exit does, and so does leaving the
    // window any other way after the user switched units (keepChosenUnits).
    void SetDisplayUnits();

    // --- What the plug-in object asks of the window ----------------------------
    lns::Ref<lns::ObjectServer> ObjectServer() override { return lcaOS; }
    bool Visible() const override { return isVisible(); }
    // Showing fails with the reason when there is no display to show on.
    void setVisible(bool visible) override;
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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (fMainLayout.cpp).
    void createLayout();
    QWidget* createHeatingCoolingTab();
    QWidget* createHardwareTab();
    QWidget* createGeneralTab();
    QWidget* createModelTab();
    QWidget* createSchedulerTab();
    QWidget* createNetworkTab();
    QWidget* createContactTab();
    QWidget* createAboutTab();
    QWidget* createBottomRow();
    QLineEdit* textBox(int index);
    QComboBox* comboBox(int index, const QStringList& items);
    QLabel* tempUnits(int index);
    void bindFieldControls();
    void connectControls();
    void connectEditing();
    void writeBackField(CNvCtrlTable& field);
    // Brings an edited box inside its field's limits; true when it had to.
    bool bringIntoRange(const CNvCtrlTable& field, QLineEdit* box);
    bool refuseUnholdable(const CNvCtrlTable& field, const QLineEdit* box);
    CNvCtrlTable* fieldOf(const QWidget* control) const;
    bool leaveTextBox(int index);
    void pressEnterInTextBox(int index);
    bool textBoxEvent(int index, QEvent* event);
    bool comboBoxEvent(int index, QEvent* event);
    // Runs a setpoint rule and shows its adjustments; true when it made any
    // or failed with a message.
    bool applyAdjustments(const std::function<rules::RuleOutcome()>& rule);
    void logSkippedRule(const rules::SkippedRule& skipped);
    bool takeTimeOfDay(int index);
    rules::SetpointTexts setpointTexts() const;

    // Window load (fMainLoad.cpp).
    void Form_Load();
    void loadPicture();
    void GetDisplayUnits();
    void applyDisplayUnits();

    // Device opening (fMainOpening.cpp).
    void openDevice();
    // The resource check and the LonMark objects' scope; false when the user
    // chose not to go on.
    bool mayOpen();
    bool offNet() const;
    void showProgress(const QString& text);
    // Before the `position`-th of `count` reads of the device.
    void showReadingProgress(int position, int count);
    void closeProgress();
    bool askYesNo(const QString& text);
    void lookUpResourceScope(lns::ResourceCatalog& catalog, const QString& programId,
                             lns::LonMarkObject& object);
    void takeOfflineHvacChoice();
    // Empties and locks every value control until a device opens.
    void showNoDevice();
    void showNoValues();
    void lockPages();
    void showDeviceOpened();
    QString deviceTitle() const;
    bool isUnread(const CNvCtrlTable& field) const;
    void lockUnreadValues();
    void unlockReadValues();
    void clearValue(QWidget* control);
    void walkToDevice(const lns::Ref<lns::LonMarkObject>& object);
    void logDroppedEdits();

    // Network events (fMainCommands.cpp).
    void onRepaint() override;
    void onMonitorValue(int monitorPoint, const QString& value) override;
    void onMonitorError(int tag) override;
    const CNvCtrlTable* fieldOfMonitorPoint(int monitorPoint) const;
    void askExit();
    // True when nothing unapplied is left or the user lets it go.
    bool mayDiscardEdits();
    void writeSnapshots();
    void writeShownTexts(const QString& path);

    QWidget* widgetOf(const CNvCtrlTable& field) const;
    void showFieldValue(const CNvCtrlTable& field, QWidget* control);
    void setPeriode2Visibility();

    fMainServices m_services;
    FieldControls m_fieldControls;
    std::unique_ptr<fLog> m_log;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<ProgressWindow> m_progress;
    // The user's input waits while the busy pointer shows.
    std::unique_ptr<HeldInput> m_heldInput;
    int m_busyDepth = 0;
    int m_helpContextId = 1004;
    bool m_ending = false;
    bool m_deviceOpened = false;
    // The user switched the display units since the window opened.
    bool m_unitsChosen = false;
    void keepChosenUnits();
    // Saves the window's size and position for its user's next opening.
    void keepPlacement();
    // Names a combo box for a screen reader (fMainLayout.cpp).
    void nameComboBox(QComboBox* box, const QString& name);
    // Network values left unread on purpose, by name: their layout is unknown.
    QStringList m_unreadValues;
};
