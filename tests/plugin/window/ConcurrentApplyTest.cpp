// SPDX-License-Identifier: Apache-2.0
// Apply while another process of the network writes the same device.
#include "WindowFixture.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

const QString Device = QStringLiteral("Floor 1/RTU-1");

TEST(ConcurrentApply, AnotherProcessesChangeToTheSameValueSurvivesTheWindowsApply) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(Device);
    // Between the window's reading and its apply, the password changes elsewhere.
    const ProcessResult set = runProgram(QStringLiteral("rm42-config"),
                                         {QStringLiteral("set"), f.network, Device, "password=7"});
    ASSERT_EQ(set.exitCode, 0) << qPrintable(set.out + set.err);

    QLineEdit* maxHeat = f.window->txtNvi[4];
    maxHeat->setText(QStringLiteral("85"));
    f.window->markModified(maxHeat);
    f.window->cmdApply_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << qPrintable(f.dialogs.texts().join('\n'));

    const QStringList held = f.storedValue(Device, QStringLiteral("nciCfg1RtuHp"),
                                           QStringLiteral("UNVT_cfg_1_rtu_hp#US"))
                                 .split(u' ');
    ASSERT_GT(held.size(), 7);
    EXPECT_EQ(held[0], QStringLiteral("7")) << "the other process's password";
    EXPECT_EQ(held[7], QStringLiteral("85")) << "the window's maximum heating setpoint";
}

} // namespace
