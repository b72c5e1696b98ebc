// SPDX-License-Identifier: Apache-2.0
#include "WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
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

} // namespace
