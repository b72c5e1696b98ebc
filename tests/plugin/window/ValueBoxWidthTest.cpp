// SPDX-License-Identifier: Apache-2.0
#include "WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// The width a line edit has for its text: inside its frame and the small
// margin it keeps on either side.
int textRoom(const QLineEdit* box) {
    const int frame =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    return box->width() - 2 * frame - 4;
}

void expectWholeText(const QLineEdit* box, const QString& name) {
    if (!box->isVisible() || box->text().isEmpty())
        return;
    EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), textRoom(box))
        << qPrintable(name + QStringLiteral(" shows \"") + box->text() + u'"');
}

TEST(ValueBoxWidth, EveryValueShowsWholeInBothUnitSystems) {
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    for (const QString& device :
         {QStringLiteral("Floor 1/RTU-1"), QStringLiteral("Floor 1/HP-1")}) {
        for (const QString& units : {QStringLiteral("0"), QStringLiteral("1")}) {
            WindowFixture f(true, units);
            f.openNetwork(QStringLiteral("Demo Building"));
            f.configureDevice(device);
            fMain& w = *f.window;
            w.show();
            for (int tab = 0; tab < w.tabData->count(); ++tab) {
                w.tabData->setCurrentIndex(tab);
                QApplication::processEvents();
                for (const QLineEdit* box : w.txtNvi)
                    expectWholeText(box, box->objectName());
                for (const QComboBox* combo : w.cbNvi)
                    expectWholeText(combo->lineEdit(), combo->objectName());
            }
            saveTabScreenshots(
                w, QStringLiteral("%1-%2-x%3")
                       .arg(device.section(u'/', 1),
                            units == u"0" ? QStringLiteral("Metric") : QStringLiteral("Imperial"),
                            scale));
        }
    }
}

TEST(ValueBoxWidth, WithoutADeviceAUnitsSwitchShowsNoDeadband) {
    WindowFixture f;
    f.window->obUnits[0]->click();
    EXPECT_EQ(f.window->cbNvi[2]->currentText(), QString());
    EXPECT_EQ(f.window->cbNvi[2]->itemText(1), QStringLiteral("1.5"));
}

} // namespace
