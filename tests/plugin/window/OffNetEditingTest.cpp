// SPDX-License-Identifier: Apache-2.0
// A thermostat of an off-net network, whose values cannot be read: the user
// picks its HVAC type, edits boxes that show placeholders, and applies.
#include "WindowFixture.h"
#include "model/CNvCtrlTable.h"
#include "model/Specific.h"
#include "window/ModifiedMark.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QString Device = QStringLiteral("Floor 1/RTU-1");
constexpr int OccupiedHeat = 0; // nciSetPts
constexpr int LocationBox = 51;
constexpr int RooftopWithEconomizer = 1;

TEST(OffNetEditing, RooftopChoiceGetsTheModelZeroLayoutAndPlaceholdersAreNeverWritten) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Offnet Site"));
    f.configureDevice(Device);
    fMain& w = *f.window;
    w.cbOfflineHvacType->setCurrentIndex(RooftopWithEconomizer);
    emit w.cbOfflineHvacType->activated(RooftopWithEconomizer);
    EXPECT_EQ(w.cbOfflineHvacType->currentText(), QStringLiteral("Roof-Top with Economizer"));
    EXPECT_FALSE(w.frmEconomizer->isHidden());
    EXPECT_TRUE(w.frmHeatPump->isHidden());
    EXPECT_EQ(Specific::process().NvCpTables.Item(QStringLiteral("nciCfg2RtuHp"))->Format,
              QStringLiteral("UNVT_cfg_2_rtu"));
    // The model is not read off-net: everything is offered.
    for (int tab = 0; tab < w.tabData->count(); ++tab)
        EXPECT_TRUE(w.tabData->isTabEnabled(tab)) << tab;
    EXPECT_TRUE(w.frmProgRecovery->isEnabled());
    EXPECT_FALSE(w.frmHeatingStages->isHidden());
    EXPECT_FALSE(w.frmHeatPumpStages->isHidden());
    EXPECT_EQ(w.frmHeatPumpStages->title(), QStringLiteral("Number of cool or hp stages"));

    // The boxes show placeholders: the window never read the stored values.
    const QString setPoints =
        f.storedValue(Device, QStringLiteral("nciSetPts"), QStringLiteral("SNVT_temp_setpt#US"));
    const QString location =
        f.storedValue(Device, QStringLiteral("nciLocation"), QStringLiteral("SNVT_str_asc"));
    // Unknown values show as unknown, not as a number.
    EXPECT_EQ(w.txtNvi[OccupiedHeat]->text(), QStringLiteral("?"));
    EXPECT_EQ(w.txtNvi[LocationBox]->text(), QStringLiteral("?"));
    w.txtNvi[OccupiedHeat]->setText(QStringLiteral("68"));
    w.markModified(w.txtNvi[OccupiedHeat]);
    w.txtNvi[LocationBox]->setText(QStringLiteral("Hall"));
    w.markModified(w.txtNvi[LocationBox]);
    f.dialogs.messages.clear();
    w.cmdApply_Click();
    EXPECT_TRUE(f.dialogs.texts().isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    // Only the edited fields reach the database: the placeholders never do.
    const QStringList before = setPoints.split(u',');
    const QStringList after =
        f.storedValue(Device, QStringLiteral("nciSetPts"), QStringLiteral("SNVT_temp_setpt#US"))
            .split(u',');
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (int item = 0; item < after.size(); ++item) {
        if (after[item] != before[item]) {
            ++changed;
            EXPECT_EQ(after[item].toDouble(), 68.0) << qPrintable(after.join(','));
        }
    }
    EXPECT_EQ(changed, 1) << qPrintable(after.join(','));
    EXPECT_NE(location, QStringLiteral("Hall"));
    EXPECT_EQ(f.storedValue(Device, QStringLiteral("nciLocation"), QStringLiteral("SNVT_str_asc")),
              QStringLiteral("Hall"));
    EXPECT_FALSE(ModifiedMark::isSet(w.txtNvi[OccupiedHeat]));
    EXPECT_FALSE(ModifiedMark::isSet(w.txtNvi[LocationBox]));
}

// Off-net the partner setpoint and the deadband are unknown: a rule that
// would read them changes nothing, says so in the log, and never computes a
// setpoint from a placeholder that Apply would then write.
TEST(OffNetEditing, ARuleWithAnUnknownOperandChangesNothingAndSaysSo) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Offnet Site"));
    f.configureDevice(Device);
    fMain& w = *f.window;
    constexpr int OccupiedCool = 2;
    constexpr int DeadbandComboBox = 2;
    EXPECT_EQ(w.txtNvi[OccupiedCool]->text(), QStringLiteral("?"));
    EXPECT_EQ(w.cbNvi[DeadbandComboBox]->currentText(), QStringLiteral("?"));
    const QString before =
        f.storedValue(Device, QStringLiteral("nciSetPts"), QStringLiteral("SNVT_temp_setpt#US"));
    f.dialogs.messages.clear();
    w.txtNvi[OccupiedHeat]->setText(QStringLiteral("70"));
    w.markModified(w.txtNvi[OccupiedHeat]);
    EXPECT_FALSE(w.txtNvi_LostFocus(OccupiedHeat));
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(w.txtNvi[OccupiedCool]->text(), QStringLiteral("?"));
    EXPECT_FALSE(ModifiedMark::isSet(w.txtNvi[OccupiedCool]));
    ASSERT_FALSE(f.logRows().isEmpty());
    EXPECT_EQ(f.logRows().last(),
              QStringLiteral("Rule not applied | The deadband limitation was not respected. "
                             "Occupied cool setpoint left as it is: a value the rule reads is "
                             "unknown (not read)."));

    // A changed deadband with unknown setpoints moves nothing either.
    w.markModified(w.cbNvi[DeadbandComboBox]);
    EXPECT_FALSE(w.cbNvi_LostFocus(DeadbandComboBox));
    EXPECT_EQ(w.txtNvi[OccupiedHeat]->text(), QStringLiteral("70"));

    // Apply writes the heating setpoint alone.
    w.cmdApply_Click();
    EXPECT_TRUE(f.dialogs.texts().isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));
    const QStringList was = before.split(u',');
    const QStringList now =
        f.storedValue(Device, QStringLiteral("nciSetPts"), QStringLiteral("SNVT_temp_setpt#US"))
            .split(u',');
    ASSERT_EQ(now.size(), was.size());
    EXPECT_EQ(now[0], was[0]);
    EXPECT_EQ(now[3].toDouble(), 70.0);
}

} // namespace
