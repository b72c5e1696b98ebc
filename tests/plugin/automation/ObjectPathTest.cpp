// SPDX-License-Identifier: Apache-2.0
#include "automation/ObjectPath.h"

#include <gtest/gtest.h>

namespace {

QStringList elements(const ObjectPath& path) {
    QStringList result;
    for (int k = 1; k <= path.Count(); ++k)
        result << path.Element(k);
    return result;
}

TEST(ObjectPathSplit, TakesEveryElementOfADevicePath) {
    const ObjectPath path = ObjectPath::split(QStringLiteral("Net/Sys/Sub1/Dev1"));
    EXPECT_EQ(elements(path), (QStringList{"Net", "Sys", "Sub1", "Dev1"}));
}

TEST(ObjectPathSplit, TrimsTheRestButNotTheElement) {
    const ObjectPath path = ObjectPath::split(QStringLiteral(" Net / Sys /  Dev 1  "));
    EXPECT_EQ(elements(path), (QStringList{" Net ", "Sys ", "Dev 1"}));
}

TEST(ObjectPathSplit, StopsAtTheFirstEmptyElement) {
    EXPECT_EQ(ObjectPath::split(QStringLiteral("/Net/Sys")).Count(), 0);
    EXPECT_EQ(elements(ObjectPath::split(QStringLiteral("Net//Sys/Dev"))), QStringList{"Net"});
    EXPECT_EQ(elements(ObjectPath::split(QStringLiteral("Net/ /Dev"))), QStringList{"Net"});
    EXPECT_EQ(elements(ObjectPath::split(QStringLiteral("Net/Sys/"))), (QStringList{"Net", "Sys"}));
    EXPECT_EQ(ObjectPath::split(QString()).Count(), 0);
}

TEST(ObjectPathSplit, KeepsTabsInsideNames) {
    EXPECT_EQ(elements(ObjectPath::split(QStringLiteral("Net/\tDev"))),
              (QStringList{"Net", "\tDev"}));
}

// Quadratic splitting took minutes over a name this long and held up every
// other request; a linear one takes milliseconds.
TEST(ObjectPathSplit, AHugeNameIsSplitInOnePass) {
    const QString name = QStringLiteral("a/").repeated(1 << 20);
    const ObjectPath path = ObjectPath::split(name);
    EXPECT_EQ(path.Count(), 1 << 20);
    EXPECT_EQ(path.Element(1 << 20), QStringLiteral("a"));
}

TEST(ObjectPathElements, OutsideTheCountAreEmpty) {
    const ObjectPath path = ObjectPath::split(QStringLiteral("Dev1"));
    EXPECT_EQ(path.Count(), 1);
    EXPECT_TRUE(path.Element(0).isEmpty());
    EXPECT_TRUE(path.Element(-1).isEmpty());
    EXPECT_TRUE(path.Element(2).isEmpty());
    EXPECT_TRUE(path.ElementName(0).isEmpty());
}

TEST(ObjectPathNames, TakeTheTextAfterTheFirstColon) {
    const ObjectPath path =
        ObjectPath::split(QStringLiteral("Net/Sys/Sub1/Dev1/Obj:3/Obj: Room Temp /a:b:c"));
    EXPECT_EQ(path.ElementName(5), QStringLiteral("3"));
    EXPECT_EQ(path.ElementName(6), QStringLiteral("Room Temp"));
    EXPECT_EQ(path.ElementName(7), QStringLiteral("b:c"));
    EXPECT_EQ(path.ElementName(4), QStringLiteral("Dev1"));
}

TEST(ObjectPathNames, KeepTheWholeElementWhenNothingFollowsTheColon) {
    const ObjectPath path = ObjectPath::split(QStringLiteral("Obj:/Obj:  /:"));
    EXPECT_EQ(path.ElementName(1), QStringLiteral("Obj:"));
    EXPECT_EQ(path.ElementName(2), QStringLiteral("Obj:  "));
    EXPECT_EQ(path.ElementName(3), QStringLiteral(":"));
}

} // namespace
