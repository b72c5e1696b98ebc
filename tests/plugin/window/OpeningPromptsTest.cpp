// SPDX-License-Identifier: Apache-2.0
// The questions the window asks before it opens a device: resource files
// missing on this computer, and a look-up of the LonMark objects' resource
// scope that failed. No ends the command with nothing done.
#include "WindowFixture.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

const QString ResourcesMissing = QStringLiteral(
    "The resource files required for this device are not present on this computer. Browsing "
    "and data formating capabilities might be restricted to standard types and standard "
    "functional profile templates. Do you want to continue?");
const QString ModeNotSet =
    QStringLiteral("Unable to set the Mode for the LonMark Objects, do you want to proceed?");
const QString LookUpProgress = QStringLiteral("Complete DRF look-up in progress...");

void expectWarningYesNo(const MessageRequest& asked, const QString& text) {
    EXPECT_EQ(asked.text, text);
    EXPECT_EQ(asked.buttons, DialogButtons::YesNo);
    EXPECT_EQ(asked.icon, DialogIcon::Warning);
}

// Nothing of the device was read, shown or logged.
void expectNothingDone(const WindowFixture& f) {
    EXPECT_EQ(f.window->lblDeviceTemplate->text(), QStringLiteral("Device Template"));
    EXPECT_TRUE(f.logRows().isEmpty()) << qPrintable(f.logRows().join('\n'));
    EXPECT_FALSE(f.progressTexts.contains(QStringLiteral("Testing the device...")));
}

void expectOpened(const WindowFixture& f) {
    EXPECT_EQ(f.window->lblDeviceTemplate->text(),
              QStringLiteral("Zentaro Inc. [Zentaro RM42_PIR (8003DB5500040421)]"));
    EXPECT_EQ(f.window->lbModel->text(), QStringLiteral("1"));
    EXPECT_FALSE(f.logRows().isEmpty());
}

TEST(OpeningPrompts, WithoutResourceFilesNoDoesNothingAndYesOpensWithoutTheLookUp) {
    WindowFixture f(false);
    f.openNetwork(QStringLiteral("Demo Building"));
    f.dialogs.queueAnswer(DialogAnswer::No);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    expectWarningYesNo(f.dialogs.messages[0], ResourcesMissing);
    expectNothingDone(f);

    f.dialogs.queueAnswer(DialogAnswer::Yes);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    ASSERT_EQ(f.dialogs.messages.size(), 2) << qPrintable(f.dialogs.texts().join('\n'));
    expectWarningYesNo(f.dialogs.messages[1], ResourcesMissing);
    expectOpened(f);
    EXPECT_FALSE(f.progressTexts.contains(LookUpProgress));
}

TEST(OpeningPrompts, AFailedLookUpAsksWhetherToGoOnWithoutTheMode) {
    WindowFixture f;
    // Registered, but its functional profile cannot be read any more.
    ASSERT_TRUE(QFile::remove(f.root.path() +
                              QStringLiteral("/LonWorks/Types/User/Zentaro/Zentaro.fpt.json")));
    f.openNetwork(QStringLiteral("Demo Building"));
    f.dialogs.queueAnswer(DialogAnswer::Abort);
    f.dialogs.queueAnswer(DialogAnswer::No);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    ASSERT_EQ(f.dialogs.messages.size(), 2) << qPrintable(f.dialogs.texts().join('\n'));
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("fMain DrfLookUp"));
    EXPECT_EQ(f.dialogs.messages[0].buttons, DialogButtons::AbortRetryIgnore);
    expectWarningYesNo(f.dialogs.messages[1], ModeNotSet);
    EXPECT_TRUE(f.progressTexts.contains(LookUpProgress));
    expectNothingDone(f);

    f.dialogs.queueAnswer(DialogAnswer::Abort);
    f.dialogs.queueAnswer(DialogAnswer::Yes);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    ASSERT_EQ(f.dialogs.messages.size(), 4) << qPrintable(f.dialogs.texts().join('\n'));
    expectWarningYesNo(f.dialogs.messages[3], ModeNotSet);
    expectOpened(f);
}

} // namespace
