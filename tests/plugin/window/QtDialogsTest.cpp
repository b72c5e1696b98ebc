// SPDX-License-Identifier: Apache-2.0
#include "window/QtDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(QtDialogsTest, PlatformFiltersBecomeQtNameFiltersBlanksAroundBarsIncluded) {
    EXPECT_EQ(QtDialogs::nameFilters(QStringLiteral("External Interface Files (*.XIF)|*.XIF")),
              QStringList({QStringLiteral("External Interface Files (*.XIF)")}));
    EXPECT_EQ(QtDialogs::nameFilters(
                  QStringLiteral("Comma separated values (*.csv) |*.csv | All Files (*.*) | *.*")),
              QStringList({QStringLiteral("Comma separated values (*.csv)"),
                           QStringLiteral("All Files (*.*)")}));
    EXPECT_EQ(QtDialogs::nameFilters(QStringLiteral("Pictures|*.bmp;*.gif")),
              QStringList({QStringLiteral("Pictures (*.bmp *.gif)")}));
}

} // namespace
