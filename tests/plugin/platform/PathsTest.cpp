// SPDX-License-Identifier: Apache-2.0
#include "platform/Paths.h"

#include "TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(Paths, SystemPathsFindFoldersWhateverTheirLetterCase) {
    TempPlatformRoot root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("LonWorks/Types/User/Zentaro")));
    const QString systemPath =
        Paths::toSystem(root.path()) + QStringLiteral("\\LonWorks\\types\\user\\Zentaro");
    EXPECT_EQ(Paths::toNative(systemPath),
              root.path() + QStringLiteral("/LonWorks/Types/User/Zentaro"));
}

TEST(Paths, MissingPartsAndTrailingSeparatorsAreKept) {
    TempPlatformRoot root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("Import")));
    EXPECT_EQ(Paths::toNative(root.path() + QStringLiteral("\\import\\New\\")),
              root.path() + QStringLiteral("/Import/New/"));
    EXPECT_EQ(Paths::toNative(QStringLiteral("\\")), QStringLiteral("/"));
    EXPECT_EQ(Paths::toNative(QString()), QString());
}

} // namespace
