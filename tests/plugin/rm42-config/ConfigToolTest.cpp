// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: the program against the kit's networks in a fresh
// platform root, with the Object Server's journal telling what reached a device.
#include "ConfigToolFixture.h"

namespace {

// Round trip -------------------------------------------------------------

TEST_F(ConfigTool, EveryDemoDeviceSavedInEitherDisplayUnitsAppliesBackWithNothingWritten) {
    for (const QString stored : {"1", "0"}) {
        SCOPED_TRACE(stored.toStdString());
        ASSERT_EQ(runProgram("lns-reg", {"add", UnitsKey, "/v", "DisplayUnits", "/d", stored, "/f"})
                      .exitCode,
                  0);
        EXPECT_EQ(shown("RTU-1").value("units").toString(), stored == u"0" ? "SI" : "US");
        const QString folder = file(QStringLiteral("site-") + stored);
        const ProcessResult saved = tool({"save", Demo, "--all", "-o", folder});
        // RTU-3 does not answer: the others are saved all the same.
        EXPECT_EQ(saved.exitCode, 1);
        EXPECT_TRUE(saved.out.contains("Floor 3/RTU-3: failed: Error reading nciHvacType: Failed "
                                       "to communicate with target device."))
            << saved.out.toStdString();
        clearJournal();
        for (const QString& device : DemoDevices) {
            const QString path = folder + u'/' + QString(device).replace(u'/', u'_') + ".json";
            const ProcessResult applied = tool({"apply", Demo, path, device});
            EXPECT_EQ(applied.exitCode, 0)
                << applied.out.toStdString() << applied.err.toStdString();
            EXPECT_TRUE(applied.out.startsWith(device + ": unchanged"))
                << applied.out.toStdString();
        }
        EXPECT_EQ(writes(), QStringList());
    }
}

TEST_F(ConfigTool, SavedFileRecordsIdentityAndOnlyTheFieldsTheModelShows) {
    clearJournal();
    const QJsonObject rooftop = json(save("Floor 1/RTU-1"));
    // One fetch per property element: the HVAC type and the model are shown twice.
    QFile journal(journalFile());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    QStringList fetches = QString::fromUtf8(journal.readAll())
                              .split(u'\n')
                              .filter(QStringLiteral("ConfigProperty.FetchElement "));
    EXPECT_EQ(fetches.size(), 18);
    EXPECT_EQ(fetches.removeDuplicates(), 0) << fetches.join('\n').toStdString();
    EXPECT_EQ(rooftop.value("formatVersion").toInt(), 2);
    EXPECT_EQ(rooftop.value("programId").toString(), "8003DB5500040421");
    EXPECT_EQ(rooftop.value("source").toObject().value("device").toString(), "Floor 1/RTU-1");
    EXPECT_EQ(rooftop.value("model").toInt(), 1);
    EXPECT_EQ(rooftop.value("hvacType").toString(), "HVT_ROOFTOP");
    EXPECT_EQ(rooftop.value("units").toString(), "US");
    EXPECT_EQ(rooftop.value("readOnly").toObject().value("nciMajVer").toString(), "1");
    const QJsonObject fields = fieldsOf(rooftop);
    EXPECT_EQ(fields.value("occ_cool_setpts").toString(), "72.00");
    EXPECT_TRUE(fields.contains("econo_min_pos"));
    EXPECT_FALSE(fields.contains("rev_valve_cfg")) << "heat-pump option of a rooftop";
    EXPECT_FALSE(fields.contains("nciMajVer"));
    // Without -o the file goes to standard output.
    const ProcessResult toOutput = tool({"save", Demo, "RTU-1"});
    EXPECT_EQ(QJsonDocument::fromJson(toOutput.out.toUtf8()).object().value("fields"),
              rooftop.value("fields"));
    const ProcessResult floor = tool({"save", Demo, "--subsystem", "Floor 1", "-o", file("f1")});
    EXPECT_EQ(floor.exitCode, 0) << floor.err.toStdString();
    EXPECT_TRUE(floor.out.endsWith("2 devices: 2 saved, 0 failed\n")) << floor.out.toStdString();
    EXPECT_EQ(QDir(file("f1")).entryList(QDir::Files),
              (QStringList{"Floor 1_HP-1.json", "Floor 1_RTU-1.json", "manifest.json"}));
    const QJsonObject heatPump = fieldsOf(json(save("Floor 1/HP-1")));
    EXPECT_TRUE(heatPump.contains("rev_valve_cfg"));
    EXPECT_FALSE(heatPump.contains("econo_min_pos"));
}

// Applying to several devices ---------------------------------------------

TEST_F(ConfigTool, CopyToTwoDevicesGoesOnPastTheOneThatRefusesWrites) {
    const QString copy = edited(save("RTU-1"), {{"password", "42"}, {"occ_heat_setpts", "69"}});
    const QString log = file("activity.csv");
    clearJournal();
    const ProcessResult applied = tool({"apply", Demo, copy, "RTU-4", "RTU-11", "--log", log});
    EXPECT_EQ(applied.exitCode, 1) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.contains("Floor 3/RTU-4: failed: Error updating nciSetPts: Failed to "
                                     "write data to the network variable object.; values written "
                                     "before: none"))
        << applied.out.toStdString();
    EXPECT_TRUE(applied.out.contains("Floor 2/RTU-11: changed 3 fields"))
        << applied.out.toStdString();
    EXPECT_TRUE(applied.out.contains("hidden or disabled on its model: heat_stage"));
    EXPECT_TRUE(applied.out.contains("2 devices: 1 changed, 0 unchanged, 0 skipped, 1 failed"));
    // RTU-4 stops at its first refused send; RTU-11 gets one send per changed value.
    EXPECT_EQ(writes().size(), 1 + 3);
    EXPECT_EQ(shownValue("RTU-11", "password"), "42");
    EXPECT_EQ(shownValue("RTU-11", "occ_heat_setpts"), "69.01");

    QFile logFile(log);
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(logFile.readAll());
    EXPECT_TRUE(text.contains("\"Updating nciCfg1RtuHp\",\"42 ")) << text.toStdString();
    EXPECT_TRUE(text.contains(",\"Error updating nciSetPts \",\"Failed to write data to the "
                              "network variable object.\"\r\n"))
        << text.toStdString();
}

TEST_F(ConfigTool, HeatPumpFileIsSkippedForARooftopAndTheOtherWayRound) {
    const QString heatPump = save("HP-1");
    const QString rooftop = save("RTU-1");
    clearJournal();
    const ProcessResult toRooftop = tool({"apply", Demo, heatPump, "RTU-11"});
    EXPECT_EQ(toRooftop.exitCode, 1);
    EXPECT_TRUE(toRooftop.out.contains("Floor 2/RTU-11: skipped: the file is for a heat pump, the "
                                       "device is a rooftop unit (HVT_ROOFTOP)"))
        << toRooftop.out.toStdString();
    const ProcessResult toHeatPump = tool({"apply", Demo, rooftop, "HP-12"});
    EXPECT_TRUE(toHeatPump.out.contains("skipped: the file is for a rooftop unit, the device is a "
                                        "heat pump"))
        << toHeatPump.out.toStdString();
    EXPECT_EQ(writes(), QStringList());
}

TEST_F(ConfigTool, DryRunListsTheChangesAndWritesNothing) {
    const QString copy =
        edited(save("RTU-1"),
               {{"fan_mode", "SMART"}, {"fan_cont", "OFF"}, {"heating_mode_fan_cont", "OFF"}});
    clearJournal();
    const ProcessResult dry = tool({"apply", Demo, copy, "--all", "--dry-run"});
    EXPECT_EQ(writes(), QStringList());
    EXPECT_TRUE(
        dry.out.contains("Floor 1/RTU-1: would change 3 fields\n  heating_mode_fan_cont: ON "
                         "-> OFF\n"))
        << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("  fan_mode: AUTO -> SMART\n"));
    EXPECT_TRUE(dry.out.contains("(dry run: nothing written)"));
}

TEST_F(ConfigTool, BackupAppliedAgainUndoesTheApply) {
    const QString copy = edited(save("RTU-1"), {{"temp_occ_time", "5"}, {"nciLocation", "Lobby"}});
    const QString before = browseAll();
    const QString backups = file("backup");
    ASSERT_EQ(tool({"apply", Demo, copy, "--subsystem", "Floor 2", "--backup", backups,
                    "--include-location"})
                  .exitCode,
              1); // HP-12 is a heat pump: skipped
    EXPECT_EQ(shownValue("RTU-11", "nciLocation"), "Lobby");
    EXPECT_NE(browseAll(), before);
    const QStringList runs = QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(runs.size(), 1);
    const QString run = backups + u'/' + runs.first();
    EXPECT_FALSE(QFile::exists(run + "/Floor 2_HP-12.json")) << "nothing was changed there";
    const ProcessResult undone =
        tool({"apply", Demo, run + "/Floor 2_RTU-11.json", "RTU-11", "--include-location"});
    EXPECT_EQ(undone.exitCode, 0) << undone.out.toStdString();
    EXPECT_EQ(browseAll(), before);
}

TEST_F(ConfigTool, LocationIsWrittenOnlyWhenAsked) {
    const QString copy = edited(save("RTU-1"), {{"nciLocation", "Lobby"}});
    clearJournal();
    EXPECT_TRUE(tool({"apply", Demo, copy, "RTU-1"}).out.contains("unchanged"));
    EXPECT_EQ(writes(), QStringList());
}

// Refused input ------------------------------------------------------------

TEST_F(ConfigTool, FileBreakingRulesIsRefusedNamingEveryFieldAndNothingIsWritten) {
    const QString broken = edited(save("RTU-1"), {{"occ_heat_setpts", "71.5"},
                                                  {"max_heat", "95"},
                                                  {"dead_band", "7"},
                                                  {"password", "abc"},
                                                  {"fan_cont", "OFF"}});
    const ProcessResult checked = tool({"check", broken});
    EXPECT_EQ(checked.exitCode, 2);
    for (const char* expected :
         {"max_heat: 95 is outside 40 to 90 ºF", "dead_band: \"7\" is not one of 2, 3, 4",
          "password: \"abc\" is not a number",
          "heating_mode_fan_cont, fan_cont: one setting of the device given two values"}) {
        EXPECT_TRUE(checked.err.contains(QString::fromUtf8(expected))) << checked.err.toStdString();
    }
    const QString onlyDeadband = edited(save("RTU-1"), {{"occ_heat_setpts", "71.5"}}, "db.json");
    EXPECT_TRUE(tool({"check", onlyDeadband})
                    .err.contains("occ_heat_setpts, occ_cool_setpts, dead_band: The deadband "
                                  "limitation was not respected."));
    const QString before = browseAll();
    clearJournal();
    EXPECT_EQ(tool({"apply", Demo, broken, "--all"}).exitCode, 2);
    EXPECT_EQ(tool({"apply", Demo, onlyDeadband, "--all"}).exitCode, 2);
    EXPECT_EQ(writes(), QStringList());
    EXPECT_EQ(browseAll(), before);
    EXPECT_EQ(tool({"check", save("RTU-1")}).exitCode, 0);
}

TEST_F(ConfigTool, BadInputIsNamedWithItsFileOrFieldAndExitsTwo) {
    const QString saved = save("RTU-1");
    QJsonObject otherVersion = json(saved);
    otherVersion.insert("formatVersion", 3);
    writeJson(file("v3.json"), otherVersion);
    QJsonObject otherProgram = json(saved);
    otherProgram.insert("programId", "9000000000000000");
    writeJson(file("program.json"), otherProgram);
    QJsonObject unknownField = json(saved);
    QJsonObject fields = unknownField.value("fields").toObject();
    fields.insert("colour", "red");
    unknownField.insert("fields", fields);
    writeJson(file("unknown.json"), unknownField);
    QFile notJson(file("notjson.json"));
    ASSERT_TRUE(notJson.open(QIODevice::WriteOnly));
    notJson.write("{ fields: ");
    notJson.close();

    const QList<QPair<QStringList, QString>> cases = {
        {{"check", file("notjson.json")}, file("notjson.json") + ": not a JSON document"},
        {{"check", file("v3.json")}, "format version 3 is not supported"},
        {{"check", file("program.json")}, "program ID 9000000000000000 is not the thermostats'"},
        {{"check", file("unknown.json")}, file("unknown.json") + ": unknown field \"colour\""},
        {{"check", file("missing.json")}, file("missing.json") + ": cannot be read"},
        {{"apply", "Nowhere", saved, "RTU-1"}, "cannot open the network \"Nowhere\""},
        {{"apply", Demo, saved, "RTU-99"}, "no device \"RTU-99\" in the network \"Demo Building\""},
        {{"save", Demo, "--subsystem", "Floor 9", "-o", file("f9")}, "no subsystem \"Floor 9\""},
        {{"set", Demo, "RTU-1", "password=x1"}, "password: \"x1\" is not a number"},
        {{"set", Demo, "RTU-1", "colour=red"}, "unknown field \"colour\""},
        {{"show", Demo}, "usage: rm42-config show"},
        {{"apply", Demo, saved, "RTU-1", "--all"}, "usage: rm42-config apply"},
        {{"show", Demo, "RTU-1", "--units", "K"}, "--units takes US or SI"},
        {{"apply", Demo, saved, "--all", "--jobs", "0"},
         "--jobs takes a whole number from 1 to 64, not \"0\""},
        {{"restore", Demo, file("site"), "--jobs", "x"}, "--jobs takes a whole number"},
        {{"save", Demo, "--all", "-o", file("site"), "--jobs", "65"}, "not \"65\""},
        {{"show", Demo, "RTU-1", "--interface", "RNI-9"},
         "cannot open the network \"Demo Building\" through \"RNI-9\""},
    };
    clearJournal();
    for (const auto& [arguments, message] : cases) {
        const ProcessResult result = tool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(message)) << arguments.join(' ').toStdString() << "\n"
                                                  << result.err.toStdString();
    }
    EXPECT_EQ(writes(), QStringList());
}

// Set and show -------------------------------------------------------------

TEST_F(ConfigTool, SetWritesTheNamedFieldsInTheChosenUnits) {
    clearJournal();
    const ProcessResult set =
        tool({"set", Demo, "RTU-1", "occ_cool_setpts=25", "unocc_cool_setpts=27", "--units", "SI"});
    EXPECT_EQ(set.exitCode, 0) << set.out.toStdString() << set.err.toStdString();
    EXPECT_EQ(writes().size(), 1) << "one value holds both setpoints";
    EXPECT_EQ(shownValue("RTU-1", "occ_cool_setpts"), "77.00");
    const ProcessResult tooClose = tool({"set", Demo, "RTU-1", "occ_heat_setpts=76"});
    EXPECT_EQ(tooClose.exitCode, 2);
    EXPECT_TRUE(tooClose.out.contains("The deadband limitation was not respected."));
    EXPECT_EQ(writes().size(), 1);
    // Any HVAC type takes the fields it has.
    EXPECT_EQ(tool({"set", Demo, "HP-1", "comfort_mode=ECONOMY"}).exitCode, 0);
    EXPECT_EQ(shownValue("HP-1", "comfort_mode"), "ECONOMY");
}

TEST_F(ConfigTool, ShowGroupsTheFieldsByTabWithUnitsAndLimits) {
    const QJsonObject metric = shown("HP-1", {"--units", "SI"});
    EXPECT_EQ(metric.value("state").toString(), "Cnfg Online");
    EXPECT_EQ(metric.value("model").toInt(), 4);
    EXPECT_EQ(metric.value("hvacType").toString(), "HVT_HEAT_PUMP");
    const QJsonArray tabs = metric.value("tabs").toArray();
    ASSERT_FALSE(tabs.isEmpty());
    const QJsonObject first = tabs.first().toObject();
    EXPECT_EQ(first.value("tab").toString(), "Heating - Cooling");
    const QJsonObject cool = first.value("fields").toArray().first().toObject();
    EXPECT_EQ(cool.value("name").toString(), "occ_cool_setpts");
    EXPECT_EQ(cool.value("unit").toString(), "ºC");
    EXPECT_EQ(cool.value("max").toString(), "37.5");
    // Through a remote interface, as the host may ask the plug-in to.
    EXPECT_EQ(shown("HP-1", {"--interface", "RNI-1"}).value("model").toInt(), 4);
    const ProcessResult offNet = tool({"show", "Offnet Site", "RTU-1"});
    EXPECT_EQ(offNet.exitCode, 1);
    EXPECT_TRUE(offNet.err.contains("the network is off-net: the thermostat cannot be read"));
    const QString text = tool({"show", Demo, "HP-1"}).out;
    EXPECT_TRUE(text.contains("econo_min_pos")) << text.toStdString();
    EXPECT_TRUE(text.contains("[hidden or disabled on this model]"));
}

// Settling, held values and concurrent writers --------------------------------

TEST_F(ConfigTool, ASecondIdenticalApplyOrSetSendsNothingInEitherUnits) {
    // Whole degrees F are held at 0.01 degC (69 reads back as 69.01).
    const QString wholeDegrees =
        edited(save("RTU-1"), {{"occ_heat_setpts", "69"}, {"max_heat", "85"}, {"password", "42"}});
    const QStringList setMetric = {
        "set", Demo, "RTU-11", "--units", "SI", "rs_cal=0.3", "occ_cool_setpts=23.1"};
    const QList<QStringList> runs = {{"apply", Demo, wholeDegrees, "RTU-1"},
                                     {"set", Demo, "RTU-11", "occ_heat_setpts=69.00"},
                                     setMetric};
    for (const QStringList& run : runs) {
        SCOPED_TRACE(run.join(' ').toStdString());
        const ProcessResult first = tool(run);
        EXPECT_EQ(first.exitCode, 0) << first.out.toStdString() << first.err.toStdString();
        EXPECT_TRUE(first.out.contains(": changed ")) << first.out.toStdString();
        clearJournal();
        const ProcessResult again = tool(run);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
        EXPECT_TRUE(again.out.contains(": unchanged\n")) << again.out.toStdString();
        EXPECT_TRUE(again.out.contains("0 changed, 1 unchanged")) << again.out.toStdString();
        EXPECT_EQ(writes(), QStringList());
    }
    EXPECT_EQ(shownValue("RTU-1", "occ_heat_setpts"), "69.01");
}

TEST_F(ConfigTool, ValuesTheDeviceCannotHoldAsGivenAreRefusedByCheckApplyAndSet) {
    const QString saved = save("RTU-1");
    const QList<QMap<QString, QString>> refused = {
        {{"password", "999.5"}, {"nciLocation", QString(31, u'x')}},
        {{"password", " 5 "}, {"nciLocation", QStringLiteral("Caf\u00e9")}},
        {{"password", "1000.0"}, {"nciLocation", QStringLiteral("Room") + QChar(0) + "1"}},
        {{"password", "+5"}, {"Unocc_timer", "2.3"}},
    };
    const QString before = browseAll();
    clearJournal();
    for (const QMap<QString, QString>& values : refused) {
        const QString path = edited(saved, values);
        for (const QStringList& run :
             {QStringList{"check", path},
              QStringList{"apply", Demo, path, "--all", "--include-location"}}) {
            const ProcessResult result = tool(run);
            EXPECT_EQ(result.exitCode, 2) << run.join(' ').toStdString();
            for (const QString& field : values.keys())
                EXPECT_TRUE(result.err.contains("  " + field + ": ")) << result.err.toStdString();
        }
        const ProcessResult set =
            tool({"set", Demo, "RTU-1", "password=" + values.value("password")});
        EXPECT_EQ(set.exitCode, 2) << set.out.toStdString() << set.err.toStdString();
        EXPECT_TRUE((set.out + set.err).contains("password: ")) << set.out.toStdString();
    }
    EXPECT_EQ(writes(), QStringList());
    EXPECT_EQ(browseAll(), before);
}

TEST_F(ConfigTool, TwoRunsSettingOneValueOfADeviceAtOnceKeepBothChanges) {
    // Slow transactions make each run read before the other writes.
    qputenv("LNS_SIM_LATENCY_MS", "30");
    QProcess password;
    QProcess delay;
    password.start(programPath("rm42-config"), {"set", Demo, "RTU-1", "password=7"});
    delay.start(programPath("rm42-config"), {"set", Demo, "RTU-1", "power_delay=50"});
    for (QProcess* run : {&password, &delay}) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    }
    qunsetenv("LNS_SIM_LATENCY_MS");
    EXPECT_EQ(shownValue("RTU-1", "password"), "7");
    EXPECT_EQ(shownValue("RTU-1", "power_delay"), "50");
}

} // namespace
