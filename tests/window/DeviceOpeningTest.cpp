#include "WindowFixture.h"
#include "support/fLog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

TEST(DeviceOpening, Rtu1ShowsItsValuesOnEveryTab) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    fMain& w = *f.window;
    EXPECT_EQ(w.StatusPanels[0]->text(), QStringLiteral("Cnfg Online"));
    EXPECT_EQ(w.txtNvi[0]->text(), QStringLiteral("70"));
    saveTabScreenshots(w, QStringLiteral("RTU-1"));
    qDebug() << f.dialogs.texts() << f.progressTexts << f.logRows();
}

} // namespace
