// SPDX-License-Identifier: Apache-2.0
#include "registration/ObjectNames.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectClassWord, KnownClassesHaveTheirWords) {
    EXPECT_EQ(ObjectClassWord(0), QStringLiteral("Object Server"));
    EXPECT_EQ(ObjectClassWord(7), QStringLiteral("Application Device"));
    EXPECT_EQ(ObjectClassWord(28), QStringLiteral("LonMark Object"));
    EXPECT_EQ(ObjectClassWord(48), QStringLiteral("Detail Info"));
    EXPECT_EQ(ObjectClassWord(52), QStringLiteral("Recovery Status"));
}

TEST(ObjectClassWord, OtherIdsAreNumberedWithASignPlace) {
    EXPECT_EQ(ObjectClassWord(49), QStringLiteral("Custom ID =  49"));
    EXPECT_EQ(ObjectClassWord(53), QStringLiteral("Custom ID =  53"));
    EXPECT_EQ(ObjectClassWord(-1), QStringLiteral("Custom ID = -1"));
}

TEST(CommandWord, KnownCommandsAndOthers) {
    EXPECT_EQ(CommandWord(13), QStringLiteral("Configure"));
    EXPECT_EQ(CommandWord(50), QStringLiteral("Register"));
    EXPECT_EQ(CommandWord(70), QStringLiteral("Security Level"));
    EXPECT_EQ(CommandWord(0), QStringLiteral("Custom command 0"));
    EXPECT_EQ(CommandWord(51), QStringLiteral("Custom command 51"));
    EXPECT_EQ(CommandWord(-3), QStringLiteral("Custom command -3"));
}

} // namespace
