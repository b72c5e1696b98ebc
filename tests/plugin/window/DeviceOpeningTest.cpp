// SPDX-License-Identifier: Apache-2.0
#include "FakeLns.h"
#include "WindowFixture.h"
#include "model/CNvCtrlTable.h"
#include "model/Specific.h"
#include "objectserver/SimObjectServer.h"
#include "support/fLog.h"
#include "window/ModifiedMark.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// What the window must show for one of the kit's thermostats.
struct Expected {
    QString device; // subsystem and name
    QString model;
    bool economizer;
    bool heatPump;
    bool heatingStages;
    QString stageCaption;
    bool modelTab;
    bool schedulerTab;
};

class EachDemoThermostat : public ::testing::TestWithParam<Expected> {};

TEST_P(EachDemoThermostat, OpensAsDeviceAndAsLonMarkObjectWithItsModelLayout) {
    const Expected& expected = GetParam();
    for (const bool asObject : {false, true}) {
        WindowFixture f;
        f.openNetwork(QStringLiteral("Demo Building"));
        const QString& path = expected.device;
        if (asObject)
            f.configureObject(path + QStringLiteral("/Obj:Thermostat"));
        else
            f.configureDevice(path);
        fMain& w = *f.window;
        SCOPED_TRACE(qPrintable(path));
        EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
        EXPECT_EQ(w.StatusPanels[0]->text(), QStringLiteral("Cnfg Online"));
        EXPECT_EQ(w.lbModel->text(), expected.model);
        EXPECT_EQ(w.lblDeviceTemplate->text(),
                  QStringLiteral("Zentaro Inc. [Zentaro RM42_PIR (8003DB5500040421)]"));
        EXPECT_EQ(!w.frmEconomizer->isHidden(), expected.economizer);
        EXPECT_EQ(!w.frmHeatPump->isHidden(), expected.heatPump);
        EXPECT_EQ(!w.frmHeatingStages->isHidden(), expected.heatingStages);
        EXPECT_EQ(w.frmHeatPumpStages->title(), expected.stageCaption);
        EXPECT_EQ(w.tabData->isTabEnabled(3), expected.modelTab);
        EXPECT_EQ(w.tabData->isTabEnabled(4), expected.schedulerTab);
        EXPECT_TRUE(w.frmSelectOfflineHvacType->isHidden());
        // Every value was read and logged; nothing is marked as edited.
        EXPECT_EQ(f.logRows().size(), Specific::process().NvCpTables.Count() + 1);
        EXPECT_FALSE(w.cmdApply->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(DeviceOpening, EachDemoThermostat,
                         ::testing::Values(Expected{"Floor 1/RTU-1", "1", true, false, true,
                                                    "Number of cooling stages", true, true},
                                           Expected{"Floor 1/HP-1", "4", false, true, false,
                                                    "Number of heatpump stages", true, true},
                                           Expected{"Floor 2/RTU-11", "11", false, false, false,
                                                    "Number of cooling stages", false, false},
                                           Expected{"Floor 2/HP-12", "12", false, true, false,
                                                    "Number of heatpump stages", true, false}),
                         [](const auto& info) {
                             return info.param.device.section(u'/', 1).remove(u'-').toStdString();
                         });

TEST(DeviceOpening, ShowsTheValuesTheDeviceHoldsInBothUnitSystems) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    // The setpoints are stored a hair off the half degree; the window rounds them.
    EXPECT_EQ(w.txtNvi[0]->text(), QStringLiteral("70"));
    EXPECT_EQ(w.txtNvi[2]->text(), QStringLiteral("72"));
    EXPECT_EQ(w.txtNvi[3]->text(), QStringLiteral("80"));
    EXPECT_EQ(w.cbNvi[16]->currentText(), QStringLiteral("FOUR_EVENTS"));
    EXPECT_FALSE(w.frmPeriode2->isHidden());
    EXPECT_EQ(w.txtNvi[51]->text(), QStringLiteral("Floor 1 North Office"));
    EXPECT_EQ(w.txtTempUnits[0]->text(), QStringLiteral("ºF"));
    saveTabScreenshots(w, QStringLiteral("RTU-1"));

    w.obUnits[0]->click();
    EXPECT_EQ(w.txtTempUnits[14]->text(), QStringLiteral("ºC"));
    EXPECT_EQ(w.txtNvi[0]->text(), QStringLiteral("21")); // 70 ºF
    EXPECT_EQ(w.txtNvi[2]->text(), QStringLiteral("22")); // 72 ºF
}

TEST(DeviceOpening, HeatPumpScreenshots) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/HP-1"));
    saveTabScreenshots(*f.window, QStringLiteral("HP-1"));
    EXPECT_EQ(f.window->lbHvacType->text(), QStringLiteral("HVT_HEAT_PUMP"));
}

TEST(DeviceOpening, AnUncommissionedDeviceSaysSoAndIsNotTested) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 3/RTU-2"));
    EXPECT_EQ(f.window->StatusPanels[0]->text(), QStringLiteral("Not Commissioned yet"));
    EXPECT_FALSE(f.progressTexts.contains(QStringLiteral("Testing the device...")));
}

TEST(DeviceOpening, AnUnreachableDeviceIsLoggedRedAndAsked) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.dialogs.queueAnswer(DialogAnswer::Abort);
    f.configureDevice(QStringLiteral("Floor 3/RTU-3"));
    ASSERT_FALSE(f.dialogs.messages.isEmpty());
    const MessageRequest& asked = f.dialogs.messages.last();
    EXPECT_EQ(asked.title, QStringLiteral("fMain ReadInitValues"));
    EXPECT_EQ(asked.buttons, DialogButtons::AbortRetryIgnore);
    EXPECT_TRUE(asked.text.startsWith(QStringLiteral("Error reading ")));
    EXPECT_TRUE(
        asked.text.endsWith(QStringLiteral(" \r\nFailed to communicate with target device.")));
    const QStringList rows = f.logRows();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.last(),
              QString(asked.text).replace(QStringLiteral("\r\n"), QStringLiteral(" | ")));
    EXPECT_EQ(
        f.window->activityLog().EchLog->topLevelItem(rows.size() - 1)->data(0, fLog::IconKeyRole),
        QStringLiteral("Red"));
}

TEST(DeviceOpening, OffNetTheUserChoosesTheHvacTypeAndLabelsKeepTheirCaptions) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Offnet Site"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    EXPECT_EQ(w.StatusPanels[0]->text(), QStringLiteral("Offnet"));
    EXPECT_FALSE(w.ReadyToMonitor);
    EXPECT_FALSE(w.frmSelectOfflineHvacType->isHidden());
    EXPECT_EQ(w.lbModel->text(), QStringLiteral("Undefined model"));
    EXPECT_EQ(w.lbHvacType->text(), QStringLiteral("HVT_UNKNOWN"));

    // No type chosen yet: the two sets of options never lie over each other
    // and take no edit.
    w.show();
    w.tabData->setCurrentIndex(3);
    QApplication::processEvents();
    const bool bothShown = w.frmHeatPump->isVisible() && w.frmEconomizer->isVisible();
    EXPECT_FALSE(bothShown && w.frmHeatPump->geometry().intersects(w.frmEconomizer->geometry()));
    EXPECT_FALSE(w.txtNvi[42]->isEnabled());
    EXPECT_FALSE(w.txtNvi[45]->isEnabled());

    w.cbOfflineHvacType->setCurrentIndex(0);
    emit w.cbOfflineHvacType->activated(0);
    EXPECT_FALSE(w.frmHeatPump->isHidden());
    EXPECT_TRUE(w.frmEconomizer->isHidden());
    EXPECT_TRUE(w.txtNvi[45]->isEnabled());
    EXPECT_EQ(Specific::process().NvCpTables.Item(QStringLiteral("nciCfg2RtuHp"))->Format,
              QStringLiteral("UNVT_cfg_2_hp"));
    w.cbOfflineHvacType->setCurrentIndex(2);
    emit w.cbOfflineHvacType->activated(2);
    EXPECT_TRUE(w.frmHeatPump->isHidden());
    EXPECT_TRUE(w.frmEconomizer->isHidden());
}

// The texts every value control shows.
QStringList shownValues(const fMain& w) {
    QStringList texts;
    for (const QLineEdit* box : w.txtNvi)
        texts << box->text();
    for (const QComboBox* combo : w.cbNvi)
        texts << combo->currentText();
    return texts;
}

bool anyValueControlEnabled(const fMain& w) {
    return std::any_of(w.txtNvi.begin(), w.txtNvi.end(), [](auto* c) { return c->isEnabled(); }) ||
           std::any_of(w.cbNvi.begin(), w.cbNvi.end(), [](auto* c) { return c->isEnabled(); });
}

void expectNoDeviceShown(const fMain& w) {
    EXPECT_TRUE(shownValues(w).join(QString()).isEmpty()) << qPrintable(shownValues(w).join('|'));
    EXPECT_EQ(w.lbModel->text(), QStringLiteral("Undefined model"));
    EXPECT_EQ(w.lbHvacType->text(), QStringLiteral("HVT_UNKNOWN"));
    EXPECT_FALSE(anyValueControlEnabled(w));
    EXPECT_FALSE(w.cmdApply->isEnabled());
    EXPECT_FALSE(w.cmdCancel->isEnabled());
}

TEST(FailedOpening, ShowsNoValueOfTheDeviceBeforeAndTakesNoEditUntilOneOpens) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    const QStringList rtu1 = shownValues(w);
    ASSERT_TRUE(rtu1.contains(QStringLiteral("Floor 1 North Office")));

    f.dialogs.queueAnswer(DialogAnswer::Abort);
    f.configureDevice(QStringLiteral("Floor 3/RTU-3"));
    EXPECT_TRUE(w.StatusPanels[1]->text().endsWith(QStringLiteral("Floor 3/RTU-3")));
    EXPECT_EQ(w.StatusPanels[0]->text(), QStringLiteral("?"));
    expectNoDeviceShown(w);
    // Neither Apply nor Refresh All reaches a value of the device that did not open.
    f.dialogs.messages.clear();
    w.cmdApply_Click();
    w.cmdRefresh->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));

    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(shownValues(w), rtu1);
    EXPECT_TRUE(w.txtNvi[0]->isEnabled());
    EXPECT_TRUE(w.cbNvi[2]->isEnabled());
}

// Counts the changes of a widget's enabled state.
class EnabledChanges : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::EnabledChange;
        return QObject::eventFilter(watched, event);
    }
};

// Enabling and disabling a page reaches every control on it: a device opened
// after one that opened leaves the pages as they are.
TEST(DeviceOpening, ADeviceOpenedAfterAnotherLeavesThePagesAsTheyAre) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    const QStringList rtu1 = shownValues(w);
    EnabledChanges changes;
    w.txtNvi[0]->installEventFilter(&changes);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    EXPECT_EQ(shownValues(w), rtu1);
    EXPECT_TRUE(w.txtNvi[0]->isEnabled());
    EXPECT_EQ(changes.count, 0);
}

TEST(FailedOpening, BeforeTheFirstCommandRefreshAllDoesNothingAndTheNextCommandOpens) {
    WindowFixture f;
    fMain& w = *f.window;
    expectNoDeviceShown(w);
    w.cmdRefresh->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    EXPECT_EQ(w.txtNvi[51]->text(), QStringLiteral("Floor 1 North Office"));
}

TEST(FailedOpening, ALonMarkObjectWithoutAReachableDeviceIsAskedAboutAndOpensNothing) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    for (const DialogAnswer answer : {DialogAnswer::Abort, DialogAnswer::Ignore}) {
        f.dialogs.messages.clear();
        f.dialogs.queueAnswer(answer);
        w.ProcessLonMarkObjectCommand(std::make_shared<fake::LonMarkObject>(), 13);
        ASSERT_EQ(f.dialogs.messages.size(), 1);
        EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("fMain ProcessLonMarkObjectCommand"));
        EXPECT_EQ(f.dialogs.messages[0].buttons, DialogButtons::AbortRetryIgnore);
        expectNoDeviceShown(w);
    }
    f.dialogs.messages.clear();
    f.configureObject(QStringLiteral("Floor 1/RTU-1/Obj:Thermostat"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(w.txtNvi[51]->text(), QStringLiteral("Floor 1 North Office"));
}

TEST(HvacTypeUnread, IgnoreLeavesTheGeneralOptionsUnreadUnshownAndUnsent) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.setPropertyFailure(QStringLiteral("RTU-1"), QStringLiteral("nciHvacType"),
                         QStringLiteral("unreachable"));
    const QString before =
        f.storedValue(QStringLiteral("Floor 1/RTU-1"), QStringLiteral("nciCfg2RtuHp"),
                      QStringLiteral("UNVT_cfg_2_rtu#US"));
    f.dialogs.queueAnswer(DialogAnswer::Ignore); // the type, read for the layout
    f.dialogs.queueAnswer(DialogAnswer::Ignore); // the type, read as every value
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    EXPECT_EQ(f.dialogs.messages.size(), 2);
    const QStringList rows = f.logRows();
    EXPECT_FALSE(rows.join('\n').contains(QStringLiteral("Reading nciCfg2RtuHp")));
    const QStringList why = rows.filter(QStringLiteral("nciCfg2RtuHp not read"));
    ASSERT_EQ(why.size(), 1);
    EXPECT_TRUE(why[0].contains(QStringLiteral("HVAC type could not be read")));
    // Digital input 1 and the economizer's changeover setpoint belong to it.
    for (QWidget* control : std::initializer_list<QWidget*>{w.cbNvi[3], w.txtNvi[42], w.cbNvi[16]})
        EXPECT_FALSE(control->isEnabled()) << qPrintable(control->objectName());
    EXPECT_TRUE(w.cbNvi[3]->currentText().isEmpty());
    EXPECT_EQ(w.txtNvi[51]->text(), QStringLiteral("Floor 1 North Office"));

    // The rest of the device is applied; the unread value is not sent.
    w.txtNvi[0]->setText(QStringLiteral("69"));
    w.markModified(w.txtNvi[0]);
    w.cmdApply_Click();
    EXPECT_TRUE(f.logRows().join('\n').contains(QStringLiteral("Updating nciSetPts")));
    EXPECT_FALSE(f.logRows().join('\n').contains(QStringLiteral("Updating nciCfg2RtuHp")));
    EXPECT_EQ(f.storedValue(QStringLiteral("Floor 1/RTU-1"), QStringLiteral("nciCfg2RtuHp"),
                            QStringLiteral("UNVT_cfg_2_rtu#US")),
              before);

    // Readable again: Refresh All reads it in the layout of the type read.
    f.setPropertyFailure(QStringLiteral("RTU-1"), QStringLiteral("nciHvacType"),
                         QStringLiteral("none"));
    w.cmdRefresh->click();
    EXPECT_TRUE(w.cbNvi[3]->isEnabled());
    EXPECT_FALSE(w.cbNvi[3]->currentText().isEmpty());
}

// A device whose state the test chooses.
class DeviceInState : public fake::AppDevice {
public:
    explicit DeviceInState(int state) : m_state(state) {}
    int State() const override { return m_state; }

private:
    int m_state;
};

TEST(DeviceState, EachStateHasItsWordAndOnlyConfiguredOnLineCanBeMonitored) {
    WindowFixture f;
    f.state.CurrentSystem = std::make_shared<fake::System>();
    const std::pair<int, const char*> words[] = {{2, "Unconfigured"},
                                                 {3, "App'less"},
                                                 {4, "Cnfg Online"},
                                                 {6, "Cnfg Offline"},
                                                 {12, "Soft Offline"},
                                                 {140, "Cnfg Bypass"},
                                                 {5, "?"}};
    for (const auto& [state, word] : words) {
        f.window->CurrentDevice = std::make_shared<DeviceInState>(state);
        f.window->ReadyToMonitor = false;
        f.window->RefreshDeviceStatus();
        EXPECT_EQ(f.window->StatusPanels[0]->text(), QString::fromUtf8(word)) << state;
        EXPECT_EQ(f.window->ReadyToMonitor, state == 4) << state;
    }
}

TEST(DeviceState, OnlyAMonitorableDeviceEnablesTheNetworkVariableBoxes) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    auto& fields = Specific::process().NvCtrlTables;
    fields.Item(QStringLiteral("ouput_heartbeat"))->Typee = QStringLiteral("NVI");
    fields.Item(QStringLiteral("Trottle"))->Typee = QStringLiteral("NVO");
    for (const bool enable : {false, true}) {
        EXPECT_TRUE(f.window->EnableNvFields(enable));
        EXPECT_EQ(f.window->txtNvi[39]->isEnabled(), enable);
        EXPECT_EQ(f.window->txtNvi[40]->isEnabled(), enable);
        EXPECT_TRUE(f.window->txtNvi[41]->isEnabled()); // a configuration property
    }
}

TEST(Help, OpensAtThePageOfTheTabShown) {
    WindowFixture f;
    f.window->tabData->setCurrentIndex(4);
    EXPECT_EQ(f.window->helpContextId(), 1005);
    f.window->cmdHelp->click();
    const auto windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(), [](QWidget* window) {
        return window->objectName() == QStringLiteral("HelpWindow") && window->isVisible();
    });
    ASSERT_NE(found, windows.end());
    auto* browser = (*found)->findChild<QTextBrowser*>();
    EXPECT_EQ(browser->source().toString(), QStringLiteral("qrc:/help/1005.htm"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("occupancy periods")));
    f.window->tabData->setCurrentIndex(7);
    EXPECT_EQ(f.window->helpContextId(), 0);
}

class EditedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        f.openNetwork(QStringLiteral("Demo Building"));
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
        box()->setText(QStringLiteral("68"));
        f.window->markModified(box());
    }
    QLineEdit* box() { return f.window->txtNvi[0]; }

    WindowFixture f;
};

TEST_F(EditedWindow, AnEditSurvivesDisplayAndRefreshButNotAMonitoredValue) {
    f.window->DisplayFieldValues();
    EXPECT_EQ(box()->text(), QStringLiteral("68"));
    f.window->cmdRefresh->click();
    EXPECT_EQ(box()->text(), QStringLiteral("68"));
    EXPECT_TRUE(ModifiedMark::isSet(box()));

    // Monitor point n shows in field n - 1: occ_heat_setpts is the third field.
    const auto& fields = Specific::process().NvCtrlTables;
    ASSERT_EQ(fields.Item(3)->Name, QStringLiteral("occ_heat_setpts"));
    f.window->lcaOS->setEventListener(nullptr); // the server under test is the window's
    f.window->setObjectServer(f.window->lcaOS);
    auto* server = dynamic_cast<lns::sim::SimObjectServer*>(f.window->lcaOS.get());
    ASSERT_TRUE(server);
    server->raiseMonitorValue(4, QStringLiteral("69.5"));
    EXPECT_EQ(box()->text(), QStringLiteral("69.5"));
    server->raiseMonitorValue(999, QStringLiteral("1")); // names no field: ignored
    const int rows = f.logRows().size();
    server->raiseMonitorError(4);
    ASSERT_EQ(f.logRows().size(), rows + 1);
    EXPECT_EQ(f.logRows().last(), QStringLiteral("Nv update error: occ_heat_setpts | "));
    server->raiseMonitorError(999);
    EXPECT_EQ(f.logRows().size(), rows + 1);
}

TEST_F(EditedWindow, ANewDeviceDropsTheEditsOfTheOneBefore) {
    f.window->txtNvi[51]->setText(QStringLiteral("Room 12B"));
    f.window->markModified(f.window->txtNvi[51]);
    f.configureDevice(QStringLiteral("Floor 2/RTU-11"));
    // One row says which edits were dropped.
    const QStringList dropped = f.logRows().filter(QStringLiteral("dropped"));
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_TRUE(dropped[0].contains(QStringLiteral("Occupied heat setpoint")))
        << qPrintable(dropped[0]);
    EXPECT_TRUE(dropped[0].contains(QStringLiteral("Location"))) << qPrintable(dropped[0]);
    EXPECT_FALSE(ModifiedMark::isSet(box()));
    EXPECT_FALSE(f.window->ChangesPending);
    EXPECT_FALSE(f.window->cmdApply->isEnabled());
    for (const auto& value : Specific::process().NvCpTables)
        EXPECT_FALSE(value->ValueAsChanges()) << qPrintable(value->Name);
    // RTU-11's own value is shown, not the edit made for RTU-1.
    EXPECT_NE(box()->text(), QStringLiteral("68"));
}

TEST_F(EditedWindow, ExitAsksWhileTheHostHoldsThePlugIn) {
    f.dialogs.queueAnswer(DialogAnswer::No);
    f.window->cmdExit->click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Are you sure that you want to exit?"));
    EXPECT_EQ(f.dialogs.messages[0].defaultButton, 1);
    EXPECT_EQ(box()->text(), QStringLiteral("68"));
    EXPECT_TRUE(f.window->ChangesPending);

    // The close box asks the same question.
    f.window->show();
    f.dialogs.queueAnswer(DialogAnswer::No);
    f.window->close();
    EXPECT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_TRUE(f.window->isVisible());

    // Yes to leaving still asks before the unapplied edit is dropped; the
    // question's default keeps it.
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    f.window->cmdExit->click();
    ASSERT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_EQ(f.dialogs.messages[1].text,
              QStringLiteral("Discard the changes that were not applied?"));
    EXPECT_EQ(f.dialogs.messages[1].buttons, DialogButtons::YesNo);
    EXPECT_EQ(f.dialogs.messages[1].defaultButton, 1);
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(box()->text(), QStringLiteral("68"));
    EXPECT_EQ(f.storedDisplayUnits(), QString());

    auto* server = dynamic_cast<lns::sim::SimObjectServer*>(f.window->lcaOS.get());
    ASSERT_TRUE(server);
    server->clearJournal();
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    f.window->cmdExit->click();
    EXPECT_FALSE(f.window->isVisible());
    const QStringList journal = server->journal();
    const auto position = [&](const QString& prefix) {
        for (int i = 0; i < journal.size(); ++i)
            if (journal[i].startsWith(prefix))
                return i;
        return -1;
    };
    EXPECT_LT(position(QStringLiteral("System.Close")), position(QStringLiteral("Network.Close")))
        << qPrintable(journal.join('\n'));
    EXPECT_LT(position(QStringLiteral("Network.Close")),
              position(QStringLiteral("ObjectServer.Close")));
    EXPECT_GE(position(QStringLiteral("System.Close")), 0);
}

TEST_F(EditedWindow, OnceTheHostLetGoExitAndTheCloseBoxAskBeforeDroppingEdits) {
    fMain& w = *f.window;
    w.show();
    f.api.reset();
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::No);
    w.cmdExit->click();
    f.dialogs.queueAnswer(DialogAnswer::No);
    w.close();
    ASSERT_EQ(f.dialogs.messages.size(), 2);
    for (const MessageRequest& asked : f.dialogs.messages) {
        EXPECT_EQ(asked.text, QStringLiteral("Discard the changes that were not applied?"));
        EXPECT_EQ(asked.buttons, DialogButtons::YesNo);
        EXPECT_EQ(asked.defaultButton, 1);
    }
    // Unanswered, the question keeps the edits.
    w.close();
    EXPECT_EQ(f.dialogs.messages.size(), 3);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(box()->text(), QStringLiteral("68"));
    EXPECT_TRUE(ModifiedMark::isSet(box()));

    f.dialogs.queueAnswer(DialogAnswer::Yes);
    w.close();
    EXPECT_FALSE(w.isVisible());
}

TEST(Exit, WithoutALivePlugInObjectTheWindowClosesWithoutAsking) {
    WindowFixture f;
    f.window->show();
    f.api.reset(); // the host released its object; the shown window stays
    auto* server = dynamic_cast<lns::sim::SimObjectServer*>(f.window->lcaOS.get());
    ASSERT_TRUE(server);
    server->clearJournal();
    f.window->close();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_FALSE(f.window->isVisible());
    // Closing it ends the plug-in as Exit does, which closes the Object
    // Server when it is open.
    QCoreApplication::processEvents();
    EXPECT_TRUE(server->journal().contains(QStringLiteral("ObjectServer.IsOpen")))
        << qPrintable(server->journal().join(u'\n'));
}

} // namespace
