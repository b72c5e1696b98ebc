// SPDX-License-Identifier: Apache-2.0
// rm42-config diff end to end: a device, its saved file and site folders
// compared, with the exit status of diff(1).
#include "ConfigToolFixture.h"

namespace {

QJsonArray differencesOf(const ProcessResult& diff) {
    return QJsonDocument::fromJson(diff.out.toUtf8())
        .object()
        .value("results")
        .toArray()
        .first()
        .toObject()
        .value("differences")
        .toArray();
}

} // namespace

TEST_F(ConfigTool, ADeviceIsLikeItsSavedFileUntilOneFieldIsSet) {
    const QString saved = save("RTU-1");
    const ProcessResult same = tool({"diff", saved, Demo, "RTU-1"});
    EXPECT_EQ(same.exitCode, 0) << same.out.toStdString() << same.err.toStdString();
    EXPECT_TRUE(same.out.contains("Floor 1/RTU-1: same\n")) << same.out.toStdString();
    // The device read in Metric units holds what the Imperial file says.
    EXPECT_EQ(tool({"diff", Demo, "RTU-1", saved, "--units", "SI"}).exitCode, 0);
    ASSERT_EQ(tool({"set", Demo, "RTU-1", "occ_heat_setpts=66"}).exitCode, 0);

    const ProcessResult differ = tool({"diff", saved, Demo, "RTU-1"});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_TRUE(differ.out.contains("Floor 1/RTU-1: 1 value differs\n"
                                    "  occ_heat_setpts (Occupied heat setpoint): 70.00 ºF | "
                                    "66.00 ºF\n"))
        << differ.out.toStdString();
    const QJsonArray metric =
        differencesOf(tool({"diff", saved, Demo, "RTU-1", "--units", "SI", "--json"}));
    ASSERT_EQ(metric.size(), 1);
    const QJsonObject difference = metric.first().toObject();
    EXPECT_EQ(difference.value("field").toString(), "occ_heat_setpts");
    EXPECT_EQ(difference.value("a").toObject().value("value").toString(), "21.11");
    EXPECT_EQ(difference.value("b").toObject().value("value").toString(), "18.89");
    EXPECT_EQ(difference.value("b").toObject().value("unit").toString(), "ºC");

    // A file without a field lacks it; a different model differs in its header too.
    const ProcessResult heatPump = tool({"diff", save("HP-1"), saved, "--json"});
    EXPECT_EQ(heatPump.exitCode, 1);
    QStringList fields;
    QJsonObject lacking;
    for (const QJsonValue& entry : differencesOf(heatPump)) {
        fields << entry.toObject().value("field").toString();
        if (entry.toObject().value("field") == "rev_valve_cfg")
            lacking = entry.toObject();
    }
    EXPECT_TRUE(fields.startsWith("model") && fields.contains("hvacType"))
        << fields.join(' ').toStdString();
    EXPECT_TRUE(lacking.value("b").isNull()) << fields.join(' ').toStdString();
    EXPECT_EQ(lacking.value("description").toString(), "Reversing valve configuration");

    // Trouble is 2, as diff(1) has it.
    EXPECT_EQ(tool({"diff", saved, file("missing.json")}).exitCode, 2);
    EXPECT_EQ(tool({"diff", saved, Demo, "RTU-3"}).exitCode, 2) << "RTU-3 does not answer";
    EXPECT_EQ(tool({"diff", saved}).exitCode, 2);
}

TEST_F(ConfigTool, TwoSiteFoldersAreComparedDeviceByDevice) {
    const QString whole = file("whole");
    const QString floor1 = file("floor1");
    tool({"save", Demo, "--all", "-o", whole});
    ASSERT_EQ(tool({"set", Demo, "HP-1", "password=9"}).exitCode, 0);
    tool({"save", Demo, "--subsystem", "Floor 1", "-o", floor1});
    const ProcessResult diff = tool({"diff", floor1, whole});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_TRUE(diff.out.contains("Floor 1/RTU-1: same\n")) << diff.out.toStdString();
    EXPECT_TRUE(diff.out.contains("Floor 1/HP-1: 1 value differs\n  password"))
        << diff.out.toStdString();
    EXPECT_TRUE(diff.out.contains("Floor 2/RTU-11: only in B\n")) << diff.out.toStdString();
    EXPECT_TRUE(diff.out.contains("6 devices: 1 same, 1 differ, 0 only in A, 4 only in B"))
        << diff.out.toStdString();
    EXPECT_EQ(tool({"diff", whole, whole}).exitCode, 0);
    // A device against a site: its own file there, or none.
    EXPECT_EQ(tool({"diff", Demo, "HP-1", floor1}).exitCode, 0);
    const ProcessResult absent = tool({"diff", Demo, "RTU-11", floor1});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_TRUE(absent.out.contains("Floor 2/RTU-11: only in A\n")) << absent.out.toStdString();
}
