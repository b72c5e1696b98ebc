// SPDX-License-Identifier: Apache-2.0
#include "WindowFixture.h"
#include "model/CNvCtrlTable.h"
#include "model/Specific.h"
#include "window/ModifiedMark.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString SetPoints = QStringLiteral("nciSetPts");

// RTU-1 open in a shown, active window, edited with real keys and focus.
class Editing : public ::testing::Test {
protected:
    explicit Editing(const QString& displayUnits = {}) : f(true, displayUnits) {
        f.openNetwork(QStringLiteral("Demo Building"));
        f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
        w().show();
        QApplication::setActiveWindow(&w());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w()));
        f.dialogs.messages.clear();
    }

    fMain& w() { return *f.window; }
    QLineEdit* box(int index) { return w().txtNvi[index]; }

    void focus(QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    // Replaces a box's text as a user does: focus, select all, type.
    void type(int index, const QString& text) {
        focus(box(index));
        box(index)->selectAll();
        QTest::keyClick(box(index), Qt::Key_Backspace);
        QTest::keyClicks(box(index), text);
    }
    // Leaves the box for the Refresh button, running its checks and rules.
    void leave() { focus(w().cmdRefresh); }
    bool red(QWidget* control) { return ModifiedMark::isSet(control); }

    WindowFixture f;
};

TEST_F(Editing, ValueBoxesTakeNumberCharactersAndMarkEveryKey) {
    focus(box(0));
    QTest::keyClick(box(0), Qt::Key_End);
    QTest::keyClicks(box(0), QStringLiteral("a"));
    EXPECT_EQ(box(0)->text(), QStringLiteral("70"));
    EXPECT_TRUE(red(box(0)));
    EXPECT_TRUE(w().ChangesPending);
    EXPECT_TRUE(w().cmdApply->isEnabled());
    EXPECT_TRUE(w().cmdCancel->isEnabled());

    // Delete changes the text without a character: still an edit.
    w().cmdCancel->click();
    focus(box(1));
    QTest::keyClick(box(1), Qt::Key_Home);
    QTest::keyClick(box(1), Qt::Key_Delete);
    EXPECT_TRUE(red(box(1)));

    type(51, QStringLiteral("Room 12B"));
    EXPECT_EQ(box(51)->text(), QStringLiteral("Room 12B"));
    leave();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // The versions identify the device and take no edit.
    focus(box(48));
    QTest::keyClicks(box(48), QStringLiteral("9"));
    EXPECT_FALSE(red(box(48)));
}

TEST_F(Editing, PageKeysStepTheValueByModifier) {
    const std::pair<Qt::KeyboardModifiers, const char*> steps[] = {{Qt::NoModifier, "22"},
                                                                   {Qt::ShiftModifier, "31.5"},
                                                                   {Qt::AltModifier, "22.5"},
                                                                   {Qt::ControlModifier, "21.5"}};
    for (const auto& [modifiers, expected] : steps) {
        w().cmdCancel_Click();
        box(5)->setText(QStringLiteral("21.5"));
        focus(box(5));
        QTest::keyClick(box(5), Qt::Key_PageUp, modifiers);
        EXPECT_EQ(box(5)->text(), QString::fromLatin1(expected));
        EXPECT_TRUE(red(box(5)));
        EXPECT_TRUE(w().cmdApply->isEnabled());
    }
    QTest::keyClick(box(5), Qt::Key_PageDown);
    EXPECT_EQ(box(5)->text(), QStringLiteral("21"));

    w().cmdCancel_Click();
    box(5)->setText(QStringLiteral("--"));
    QTest::keyClick(box(5), Qt::Key_PageUp);
    EXPECT_EQ(box(5)->text(), QStringLiteral("--"));
    EXPECT_FALSE(red(box(5)));
}

TEST_F(Editing, ATextThatIsNoNumberIsUndoneWhenLeft) {
    type(0, QString());
    leave();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Value must be numerical"));
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Invalid value"));
    EXPECT_EQ(box(0)->text(), QStringLiteral("70"));
    EXPECT_FALSE(red(box(0)));
}

TEST_F(Editing, ATypedTimeOfDayBecomesMinutesOfTheDay) {
    type(11, QStringLiteral("07:30"));
    leave();
    EXPECT_EQ(box(11)->text(), QStringLiteral("450"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    type(12, QStringLiteral("25:00"));
    leave();
    EXPECT_EQ(box(12)->text(), QStringLiteral("720"));
    EXPECT_EQ(f.dialogs.texts(), QStringList{QStringLiteral("Value must be numerical")});

    // Every box of the week takes a time, the last one too; the boxes beside
    // the scheduler do not.
    for (int index = 11; index <= 38; ++index) {
        f.dialogs.messages.clear();
        type(index, QStringLiteral("07:30"));
        leave();
        EXPECT_EQ(box(index)->text(), QStringLiteral("450")) << index;
        EXPECT_TRUE(f.dialogs.messages.isEmpty()) << index;
    }
    for (int index : {10, 39}) {
        f.dialogs.messages.clear();
        const QString before = box(index)->text();
        type(index, QStringLiteral("07:30"));
        leave();
        EXPECT_EQ(box(index)->text(), before) << index;
        EXPECT_EQ(f.dialogs.texts(), QStringList{QStringLiteral("Value must be numerical")})
            << index;
    }
}

// A text the device would refuse or round is told about when the box is
// left, stays red, and is never sent: nothing of it lingers to break a
// later write of the same value.
TEST_F(Editing, ATextTheDeviceCannotHoldIsToldAndNeverSent) {
    const QString device = QStringLiteral("Floor 1/RTU-1");
    const QString options = QStringLiteral("nciCfg1RtuHp");
    const QString before = f.storedValue(device, options, QStringLiteral("UNVT_cfg_1_rtu_hp#US"));
    const struct {
        int box;
        QString text;
        QString told;
    } refused[] = {
        {52, QStringLiteral("1.5"), QStringLiteral("Password takes a whole number from 0 to 1000")},
        {38, QStringLiteral("7.5"),
         QStringLiteral("End of occupation periode 2 (Sunday) takes a time of day from 0:00 to "
                        "23:59, or its minutes from 0 to 1439")},
        {51, QStringLiteral("A location string longer than thirty characters"),
         QStringLiteral("Location string takes up to 30 plain ASCII characters (letters, digits, "
                        "punctuation, blanks)")},
        {51, QStringLiteral("Salle 2 – nord"),
         QStringLiteral("Location string takes up to 30 plain ASCII characters (letters, digits, "
                        "punctuation, blanks)")},
    };
    for (const auto& entry : refused) {
        f.dialogs.messages.clear();
        if (entry.text.toLatin1() == entry.text.toUtf8()) {
            type(entry.box, entry.text);
        } else { // pasted: the test keyboard has no key for it
            focus(box(entry.box));
            box(entry.box)->setText(entry.text);
            w().markModified(box(entry.box));
        }
        leave();
        EXPECT_EQ(f.dialogs.texts(), QStringList{entry.told}) << entry.box;
        EXPECT_EQ(box(entry.box)->text(), entry.text);
        EXPECT_TRUE(red(box(entry.box)));

        // Apply says it again and sends nothing at all.
        type(53, QStringLiteral("2"));
        f.dialogs.messages.clear();
        w().cmdApply->click();
        EXPECT_EQ(f.dialogs.texts(), QStringList{entry.told}) << entry.box;
        EXPECT_TRUE(f.logRows().filter(QStringLiteral("Updating")).isEmpty());
        EXPECT_TRUE(red(box(53)));
        w().cmdCancel->click();
    }
    EXPECT_EQ(f.storedValue(device, options, QStringLiteral("UNVT_cfg_1_rtu_hp#US")), before);

    // A text it can hold goes through, and the value takes later writes.
    f.dialogs.messages.clear();
    type(52, QStringLiteral("15"));
    w().cmdApply->click();
    type(53, QStringLiteral("2"));
    w().cmdApply->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    const QStringList stored =
        f.storedValue(device, options, QStringLiteral("UNVT_cfg_1_rtu_hp#US")).split(u' ');
    EXPECT_EQ(stored.value(0), QStringLiteral("15"));
    EXPECT_EQ(stored.value(1), QStringLiteral("2"));
}

TEST_F(Editing, SetpointsKeepTheDeadbandAndTheLimits) {
    // Deadband 2 °F: heating 71 against cooling 72 pushes cooling to 73.
    type(0, QStringLiteral("71"));
    leave();
    EXPECT_EQ(box(2)->text(), QStringLiteral("73"));
    EXPECT_TRUE(red(box(2)));
    EXPECT_EQ(QApplication::focusWidget(), box(2));
    ASSERT_FALSE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(
        f.dialogs.messages[0].text,
        QStringLiteral("The deadband limitation was not respected.\r\n\r\nAdjustment where made"));

    // Exactly the deadband apart is accepted.
    f.dialogs.messages.clear();
    type(0, QStringLiteral("71"));
    leave();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // A lower maximum pulls both heating setpoints to its own text.
    f.dialogs.messages.clear();
    type(1, QStringLiteral("66"));
    type(4, QStringLiteral("65.0"));
    leave();
    EXPECT_EQ(box(0)->text(), QStringLiteral("65.0"));
    EXPECT_EQ(box(1)->text(), QStringLiteral("65.0"));
    EXPECT_EQ(f.dialogs.texts().count(QStringLiteral(
                  "Heating maximum limit was not respected.\r\n\r\nAdjustment where made")),
              2);
}

TEST_F(Editing, ApplyWritesTheEditToTheDeviceAndClearsTheMark) {
    saveTabScreenshots(w(), QStringLiteral("RTU-1-unedited"));
    type(0, QStringLiteral("68"));
    type(51, QStringLiteral("Room 12B"));
    saveTabScreenshots(w(), QStringLiteral("RTU-1-edited"));
    w().cmdApply->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_FALSE(red(box(0)));
    EXPECT_FALSE(w().cmdApply->isEnabled());
    EXPECT_FALSE(w().ChangesPending);
    // A second process reads the new value from the network's database.
    const ProcessResult browse = runProgram(
        QStringLiteral("lns-host"),
        {QStringLiteral("browse"), QStringLiteral("Demo Building"), QStringLiteral("Floor 1/RTU-1"),
         QStringLiteral("--units"), QStringLiteral("US")});
    EXPECT_TRUE(browse.out.contains(QStringLiteral("SNVT_temp_setpt#US: 72.00,75.99,80.01,68.00,")))
        << qPrintable(browse.out + browse.err);
    EXPECT_TRUE(browse.out.contains(QStringLiteral("SNVT_str_asc#US: Room 12B")));
    EXPECT_TRUE(f.logRows().last().startsWith(QStringLiteral("Updating nciLocation | Room 12B")));
    // The log shows what the device holds after the write.
    EXPECT_TRUE(f.logRows().contains(
        QStringLiteral("Updating nciSetPts | 72.00,75.99,80.01,68.00,66.00,62.01")));
    saveTabScreenshots(w(), QStringLiteral("RTU-1-applied"));

    // Nothing edited: nothing asked, nothing sent.
    const int rows = f.logRows().size();
    w().cmdApply->click();
    EXPECT_EQ(f.logRows().size(), rows);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(Editing, ApplyBringsAValueOutOfRangeToItsLimitInsideByTheOffset) {
    const QString before = f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                                         QStringLiteral("SNVT_temp_setpt#US"));
    type(2, QStringLiteral("120"));
    QTest::keyClick(box(2), Qt::Key_Return);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("Occupied cool setpoint out of range\r\n\r\nThe maximum allowed value "
                             "is:  100\r\n\r\nThe value has been adjusted"));
    EXPECT_EQ(box(2)->text(), QStringLiteral("100"));
    // The user sees the limit before it is written: a second Enter writes it.
    EXPECT_EQ(f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                            QStringLiteral("SNVT_temp_setpt#US")),
              before);
    QTest::keyClick(box(2), Qt::Key_Return);
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    const QString stored = f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                                         QStringLiteral("SNVT_temp_setpt#US"));
    EXPECT_EQ(stored.section(u',', 0, 0), QStringLiteral("99.97")) << qPrintable(stored);
}

TEST_F(Editing, EnterRunsTheRulesOfLeavingAndAppliesOnlyAnEntryTheyLeaveAlone) {
    const QString before = f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                                         QStringLiteral("SNVT_temp_setpt#US"));
    // Cooling 72, deadband 2: heating 80 pushes cooling to 82, and nothing is sent.
    type(0, QStringLiteral("80"));
    QTest::keyClick(box(0), Qt::Key_Return);
    EXPECT_EQ(f.dialogs.texts(),
              QStringList{QStringLiteral(
                  "The deadband limitation was not respected.\r\n\r\nAdjustment where made")});
    EXPECT_EQ(box(0)->text(), QStringLiteral("80"));
    EXPECT_EQ(box(2)->text(), QStringLiteral("82"));
    EXPECT_EQ(f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                            QStringLiteral("SNVT_temp_setpt#US")),
              before);
    EXPECT_TRUE(f.logRows().filter(QStringLiteral("Updating")).isEmpty());

    // The second Enter, in the adjusted box, writes both.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const QStringList stored = f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                                             QStringLiteral("SNVT_temp_setpt#US"))
                                   .split(u',');
    // The device holds hundredths of a degree Celsius: 80 reads back as 80.01,
    // and the saved file still passes the tool's check.
    EXPECT_EQ(stored.value(0), QStringLiteral("82.00"));
    EXPECT_EQ(stored.value(3), QStringLiteral("80.01"));
    const QString saved = f.root.path() + QStringLiteral("/RTU-1.cfg");
    const ProcessResult save =
        runProgram(QStringLiteral("rm42-config"),
                   {QStringLiteral("save"), QStringLiteral("Demo Building"),
                    QStringLiteral("Floor 1/RTU-1"), QStringLiteral("-o"), saved});
    ASSERT_EQ(save.exitCode, 0) << qPrintable(save.out + save.err);
    const ProcessResult check =
        runProgram(QStringLiteral("rm42-config"), {QStringLiteral("check"), saved});
    EXPECT_EQ(check.exitCode, 0) << qPrintable(check.out + check.err);

    // An entry that every rule leaves alone is sent at once, once.
    f.dialogs.messages.clear();
    const int sends = f.logRows().filter(QStringLiteral("Updating")).size();
    type(1, QStringLiteral("65"));
    QTest::keyClick(box(1), Qt::Key_Return);
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(f.logRows().filter(QStringLiteral("Updating")).size(), sends + 1);
    EXPECT_FALSE(red(box(1)));
}

// After an Apply the boxes show what the device holds, as a read shows it.
TEST_F(Editing, AfterApplyTheBoxesShowTheHeldValue) {
    type(0, QStringLiteral("68.0"));
    type(53, QStringLiteral("01.5"));
    type(52, QStringLiteral("007"));
    w().cmdApply->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(box(0)->text(), QStringLiteral("68"));
    EXPECT_EQ(box(53)->text(), QStringLiteral("1.5"));
    EXPECT_EQ(box(52)->text(), QStringLiteral("7"));
    EXPECT_FALSE(red(box(0)));

    // The limit is stored just inside it and shown as a read shows it.
    type(2, QStringLiteral("120"));
    w().cmdApply->click();
    EXPECT_EQ(box(2)->text(), QStringLiteral("100"));
    EXPECT_FALSE(red(box(2)));
}

TEST_F(Editing, CancelPutsTheStoredValuesBack) {
    type(0, QStringLiteral("68"));
    focus(w().cbNvi[16]);
    w().cbNvi[16]->setCurrentIndex(0);
    emit w().cbNvi[16]->activated(0);
    EXPECT_TRUE(w().frmPeriode2->isHidden());
    w().cmdCancel->click();
    EXPECT_EQ(box(0)->text(), QStringLiteral("70"));
    EXPECT_EQ(w().cbNvi[16]->currentText(), QStringLiteral("FOUR_EVENTS"));
    EXPECT_FALSE(w().frmPeriode2->isHidden());
    EXPECT_FALSE(red(box(0)));
    EXPECT_FALSE(w().cmdCancel->isEnabled());
    const int rows = f.logRows().size();
    w().cmdApply_Click();
    EXPECT_EQ(f.logRows().size(), rows);
}

class EditingInMetric : public Editing {
protected:
    EditingInMetric() : Editing(QStringLiteral("0")) {}
};

TEST_F(EditingInMetric, ApplyWritesInCelsiusWithTheMetricOffset) {
    EXPECT_TRUE(w().obUnits[0]->isChecked());
    EXPECT_EQ(w().txtTempUnits[3]->text(), QStringLiteral("ºC"));
    type(2, QStringLiteral("40"));
    type(0, QStringLiteral("20.5"));
    leave();
    w().cmdApply->click();
    EXPECT_EQ(f.dialogs.messages.last().text,
              QStringLiteral("Occupied cool setpoint out of range\r\n\r\nThe maximum allowed value "
                             "is:  37.5\r\n\r\nThe value has been adjusted"));
    EXPECT_EQ(box(2)->text(), QStringLiteral("37.5"));
    const QString stored = f.storedValue(QStringLiteral("Floor 1/RTU-1"), SetPoints,
                                         QStringLiteral("SNVT_temp_setpt#SI"));
    EXPECT_EQ(stored.section(u',', 0, 0), QStringLiteral("37.45")) << qPrintable(stored);
    EXPECT_EQ(stored.section(u',', 3, 3), QStringLiteral("20.50")) << qPrintable(stored);
    EXPECT_FALSE(red(box(0)));
}

TEST(WriteRefused, TheEditStaysRedAndTheDatabaseUnchanged) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 3/RTU-4"));
    const QString before = f.storedValue(QStringLiteral("Floor 3/RTU-4"), SetPoints,
                                         QStringLiteral("SNVT_temp_setpt#US"));
    fMain& w = *f.window;
    w.txtNvi[0]->setText(QStringLiteral("68"));
    w.markModified(w.txtNvi[0]);
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::Ignore);
    w.cmdApply_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("fMain PropagateChanges"));
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("Error updating nciSetPts \r\nFailed to write data to the network "
                             "variable object."));
    // The red row says what failed; no green row claims it was written.
    EXPECT_EQ(f.logRows().last(), QStringLiteral("Error updating nciSetPts  | Failed to write data "
                                                 "to the network variable object."));
    EXPECT_TRUE(ModifiedMark::isSet(w.txtNvi[0]));
    EXPECT_TRUE(w.cmdApply->isEnabled());
    EXPECT_TRUE(w.cmdCancel->isEnabled());
    EXPECT_TRUE(w.ChangesPending);
    EXPECT_EQ(f.storedValue(QStringLiteral("Floor 3/RTU-4"), SetPoints,
                            QStringLiteral("SNVT_temp_setpt#US")),
              before);

    // Still pending, so a units change warns before it discards it.
    f.dialogs.queueAnswer(DialogAnswer::Cancel);
    w.obUnits[0]->click();
    EXPECT_EQ(f.dialogs.messages.last().title, QStringLiteral("Warning"));

    // Another client makes the device accept writes: Retry sends the value.
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::Retry);
    f.dialogs.onMessage = [&](const MessageRequest&) {
        f.setDeviceFailure(QStringLiteral("RTU-4"), QString());
    };
    w.cmdApply_Click();
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_FALSE(ModifiedMark::isSet(w.txtNvi[0]));
    EXPECT_FALSE(w.cmdApply->isEnabled());
    EXPECT_EQ(f.storedValue(QStringLiteral("Floor 3/RTU-4"), SetPoints,
                            QStringLiteral("SNVT_temp_setpt#US"))
                  .section(u',', 3, 3),
              QStringLiteral("68.00"));
    EXPECT_TRUE(f.logRows().last().startsWith(QStringLiteral("Updating nciSetPts | ")));
}

class Units : public Editing {};

TEST_F(Units, AChangeWithPendingEditsAsksAndIsStoredOnlyByAConfirmedExit) {
    EXPECT_TRUE(w().obUnits[1]->isChecked());
    EXPECT_EQ(w().cbNvi[2]->itemText(0), QStringLiteral("2"));
    w().obUnits[1]->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    type(0, QStringLiteral("68"));
    f.dialogs.queueAnswer(DialogAnswer::Cancel);
    w().obUnits[0]->click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral(
                  "This action will discard all changes\r\n\r\nProceed and lose all changes ?"));
    EXPECT_TRUE(w().obUnits[1]->isChecked());
    EXPECT_EQ(box(0)->text(), QStringLiteral("68"));
    EXPECT_EQ(w().txtTempUnits[0]->text(), QStringLiteral("ºF"));

    f.dialogs.queueAnswer(DialogAnswer::Ok);
    w().obUnits[0]->click();
    EXPECT_EQ(box(0)->text(), QStringLiteral("21")); // 70 ºF read again in Celsius
    EXPECT_FALSE(red(box(0)));
    EXPECT_EQ(w().cbNvi[2]->itemText(1), QStringLiteral("1.5"));
    EXPECT_EQ(w().txtTempUnits[14]->text(), QStringLiteral("ºC"));
    EXPECT_EQ(f.storedDisplayUnits(), QString());

    f.dialogs.queueAnswer(DialogAnswer::No);
    w().cmdExit->click();
    EXPECT_EQ(f.storedDisplayUnits(), QString());
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    w().cmdExit->click();
    EXPECT_EQ(f.storedDisplayUnits(), QStringLiteral("0"));
}

// The demo and the host's scripts release the plug-in before its user leaves
// the window: a confirmed switch is kept all the same.
TEST_F(Units, AConfirmedSwitchIsStoredHoweverTheWindowIsLeft) {
    w().obUnits[0]->click();
    EXPECT_EQ(f.storedDisplayUnits(), QString());
    f.state.InstanceCount = 0;
    w().close();
    EXPECT_EQ(f.storedDisplayUnits(), QStringLiteral("0"));
}

TEST(StoredUnits, ASwitchIsStoredByAnExitAfterTheHostReleasedThePlugIn) {
    WindowFixture released(true, QStringLiteral("0"));
    released.window->obUnits[1]->click();
    released.state.InstanceCount = 0;
    released.window->cmdExit->click();
    EXPECT_EQ(released.storedDisplayUnits(), QStringLiteral("1"));
}

// A value converted from the other unit system is shown as the list item or
// the limit it stands for: never as one the window would refuse itself.
TEST_F(Units, ConvertedValuesShowInsideTheListsAndLimits) {
    type(2, QStringLiteral("120")); // held as 99.97 ºF: beyond 37.5 ºC
    type(9, QStringLiteral("5"));   // held as 4.97 ºF: beyond 2.5 ºC
    w().cmdApply->click();
    f.dialogs.messages.clear();
    w().obUnits[0]->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(box(2)->text(), QStringLiteral("37.5"));
    EXPECT_EQ(box(9)->text(), QStringLiteral("2.5"));
    const QStringList metricItems{QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
    EXPECT_TRUE(metricItems.contains(w().cbNvi[2]->currentText()))
        << qPrintable(w().cbNvi[2]->currentText());
    saveTabScreenshots(w(), QStringLiteral("RTU-1-metric"));

    // Every deadband the device can hold shows as an item in both unit systems.
    for (const char* held : {"1.11", "1.67", "2.22"}) {
        w().obUnits[0]->click();
        f.dialogs.messages.clear();
        w().cbNvi[2]->setCurrentIndex(-1);
        w().cbNvi[2]->setEditText(QString::fromLatin1(held));
        w().markModified(w().cbNvi[2]);
        w().cmdApply->click();
        EXPECT_TRUE(metricItems.contains(w().cbNvi[2]->currentText())) << held;
        w().obUnits[1]->click();
        EXPECT_TRUE((QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
                        .contains(w().cbNvi[2]->currentText()))
            << held << " " << qPrintable(w().cbNvi[2]->currentText());
    }
    saveTabScreenshots(w(), QStringLiteral("RTU-1-imperial"));
}

TEST(StoredUnits, OnlyAStoredZeroOpensInMetric) {
    for (const auto& [stored, metric] :
         {std::pair{QString(), false}, {QStringLiteral("0"), true}, {QStringLiteral("2"), false}}) {
        WindowFixture f(true, stored);
        EXPECT_EQ(f.window->obUnits[0]->isChecked(), metric) << qPrintable(stored);
        EXPECT_EQ(f.window->cbNvi[2]->itemText(2),
                  metric ? QStringLiteral("2") : QStringLiteral("4"));
    }
}

} // namespace
