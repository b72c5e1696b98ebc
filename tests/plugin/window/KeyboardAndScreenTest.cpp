// SPDX-License-Identifier: Apache-2.0
#include "WindowFixture.h"
#include "support/fLog.h"
#include "window/WindowPlacement.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QWidget* shownHelpWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("HelpWindow") && window->isVisible())
            return window;
    }
    return nullptr;
}

TEST(ScreenReader, EveryValueBoxAndIconButtonHasItsOwnNameAndTheTitleNamesTheDevice) {
    WindowFixture f;
    fMain& w = *f.window;
    QSet<QString> names;
    std::vector<QWidget*> controls(w.txtNvi.begin(), w.txtNvi.end());
    controls.insert(controls.end(), w.cbNvi.begin(), w.cbNvi.end());
    for (QWidget* control : controls) {
        const QString name = control->accessibleName();
        EXPECT_FALSE(name.isEmpty()) << qPrintable(control->objectName());
        EXPECT_FALSE(names.contains(name)) << qPrintable(control->objectName() + u' ' + name);
        names.insert(name);
    }
    EXPECT_EQ(w.txtNvi[0]->accessibleName(), QStringLiteral("Occupied (Heating)"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zentaro PIR ready RM42xx Configure"));
    // Once a device is open the title names it, so several windows can be told apart.
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureObject(QStringLiteral("Floor 1/RTU-1/Obj:Thermostat"));
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("RTU-1 — Floor 1 — Zentaro PIR ready RM42xx Configure"));
    EXPECT_EQ(w.cmdHelp->accessibleName(), QStringLiteral("Help"));
    EXPECT_EQ(w.cmdViewLog->accessibleName(), QStringLiteral("Activity log"));
}

// A screen reader reads an editable combo box through its text field: both
// carry the name of the box's own row or frame, never only an outer frame's.
TEST(ScreenReader, EveryComboBoxAndItsTextFieldAreNamedByTheirOwnCaption) {
    WindowFixture f;
    fMain& w = *f.window;
    std::vector<QComboBox*> boxes(w.cbNvi.begin(), w.cbNvi.end());
    boxes.push_back(w.cbOfflineHvacType);
    const QStringList outerFrames = {QStringLiteral("Outputs"), QStringLiteral("Economizer"),
                                     QStringLiteral("Heat Pump")};
    for (QComboBox* box : boxes) {
        const QString name = QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << qPrintable(box->objectName());
        EXPECT_FALSE(outerFrames.contains(name)) << qPrintable(box->objectName());
        if (QLineEdit* field = box->lineEdit()) {
            EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), name)
                << qPrintable(box->objectName());
        }
    }
    EXPECT_EQ(w.cbNvi[19]->accessibleName(), QStringLiteral("Comfort mode"));
    // The stages frame's caption follows the model, and the box's name with it.
    for (const qint16 model : {1, 4}) {
        w.ApplyModelLayout(model);
        EXPECT_EQ(w.cbNvi[8]->accessibleName(), w.frmHeatPumpStages->title());
        EXPECT_EQ(w.cbNvi[8]->lineEdit()->accessibleName(), w.frmHeatPumpStages->title());
    }
}

TEST(Keyboard, F1HelpsAtTheTabShownEscClosesItAndControlTabSwitchesTabs) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.txtNvi[0]->setFocus();
    QTest::keyClick(w.txtNvi[0], Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.tabData->currentIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QWidget* help = shownHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(w.helpContextId(), 1002);
    QApplication::setActiveWindow(help);
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_EQ(shownHelpWindow(), nullptr);

    // The activity log, a reading window too, closes the same way.
    w.cmdViewLog->click();
    fLog& log = w.activityLog();
    ASSERT_TRUE(log.isVisible());
    QApplication::setActiveWindow(&log);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&log));
    QTest::keyClick(static_cast<QWidget*>(log.EchLog), Qt::Key_Escape);
    EXPECT_FALSE(log.isVisible());
    EXPECT_TRUE(w.isVisible());
}

// Logical sizes of a 1920 x 1080 screen at 200 % and a 1366 x 768 one at 150 %.
TEST(SmallScreen, TabPagesScrollAndApplyAndExitStayInSight) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    w.show();
    for (const QSize screen : {QSize(1920 / 2, 1080 / 2), QSize(1366 * 2 / 3, 768 * 2 / 3)}) {
        const QSize least = w.minimumSizeHint();
        EXPECT_LE(least.width(), screen.width());
        EXPECT_LE(least.height(), screen.height());
        w.resize(screen);
        QApplication::processEvents();
        for (QPushButton* button : {w.cmdApply, w.cmdExit}) {
            const QRect place(button->mapTo(&w, QPoint(0, 0)), button->size());
            EXPECT_TRUE(QRect(QPoint(0, 0), screen).contains(place))
                << qPrintable(button->objectName());
        }
    }
}

TEST(WindowPlace, TheSizeAndPlaceItsUserLeftItAtAreKeptWhileTheyFitTheScreen) {
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(WindowPlacement::opening(QRect(100, 50, 700, 500), QSize(900, 600), screen),
              QRect(100, 50, 700, 500));
    // Partly off a screen that has shrunk since: in the middle again.
    EXPECT_EQ(WindowPlacement::opening(QRect(1000, 50, 700, 500), QSize(900, 600), screen),
              QRect(190, 100, 900, 600));
    EXPECT_EQ(WindowPlacement::opening(std::nullopt, QSize(2000, 600), screen),
              QRect(0, 100, 1280, 600));

    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    w.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect place(
        area.topLeft() + QPoint(20, 30),
        w.minimumSizeHint().expandedTo(QSize(640, 480)).boundedTo(area.size() - QSize(40, 60)));
    w.setGeometry(place);
    QApplication::processEvents();
    EXPECT_EQ(WindowPlacement::load(QStringLiteral("ConfigurationWindow")), std::nullopt);
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    w.cmdExit->click();
    EXPECT_EQ(WindowPlacement::load(QStringLiteral("ConfigurationWindow")), w.geometry());
    // In the user's configuration folder, not the platform's.
    EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("XDG_CONFIG_HOME") +
                                  QStringLiteral("/Zentaro/RM42xxPirConfigure.conf")));
}

} // namespace
