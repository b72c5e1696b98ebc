// SPDX-License-Identifier: Apache-2.0
// The rules a configuration file is checked with, the fields a model leaves
// out, and the file's form, without a network.
#include "ConfigurationDiff.h"
#include "ConfigurationFields.h"
#include "ConfigurationFile.h"
#include "CsvReport.h"
#include "FileSizeLimit.h"
#include "OutputFiles.h"
#include "Validation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

constexpr qint16 Imperial = 1;
constexpr qint16 Metric = 0;

QStringList problemTexts(const QMap<QString, QString>& values, qint16 units = Imperial) {
    QStringList texts;
    for (const ValueProblem& problem : valueProblems(values, ConfigurationFields(units)))
        texts << problem.text();
    return texts;
}

QMap<QString, QString> setpoints(const QString& occHeat, const QString& occCool,
                                 const QString& deadband) {
    return {{"occ_heat_setpts", occHeat}, {"unocc_heat_setpts", "62"}, {"occ_cool_setpts", occCool},
            {"unocc_cool_setpts", "80"},  {"max_heat", "90"},          {"min_cool_setpts", "54"},
            {"dead_band", deadband}};
}

TEST(ConfigRules, LimitsAreInclusiveAndInTheFileUnits) {
    EXPECT_TRUE(problemTexts({{"max_heat", "90"}, {"password", "0"}}).isEmpty());
    EXPECT_EQ(problemTexts({{"max_heat", "90.01"}}),
              QStringList{"max_heat: 90.01 is outside 40 to 90 ºF"});
    EXPECT_EQ(problemTexts({{"max_heat", "33"}}, Metric),
              QStringList{"max_heat: 33 is outside 4.5 to 32 ºC"});
    EXPECT_EQ(problemTexts({{"occ_1_monday", "07:30"}}),
              QStringList{"occ_1_monday: \"07:30\" is not a number"});
    // Free text is never checked.
    EXPECT_TRUE(problemTexts({{"nciLocation", "anything at all"}}).isEmpty());
}

TEST(ConfigRules, ChoicesAreItemsOrTheRangeOfNumericItems) {
    EXPECT_TRUE(problemTexts({{"fan_mode", "SMART"}, {"heat_cph", "8"}}).isEmpty());
    EXPECT_EQ(problemTexts({{"fan_mode", "smart"}}),
              QStringList{"fan_mode: \"smart\" is not one of ON, AUTO, SMART"});
    EXPECT_EQ(problemTexts({{"heat_cph", "3.5"}}),
              QStringList{"heat_cph: \"3.5\" is not one of 3, 4, 5, 6, 7, 8"});
    // The thermostat's deadband of 2 ºF reads 1.11 ºC: between the Metric items.
    EXPECT_TRUE(problemTexts({{"dead_band", "1.11"}}, Metric).isEmpty());
    EXPECT_EQ(problemTexts({{"dead_band", "2.5"}}, Metric),
              QStringList{"dead_band: \"2.5\" is not one of 1, 1.5, 2"});
}

TEST(ConfigRules, SetpointRulesNameEveryFieldOfEachBrokenRule) {
    EXPECT_TRUE(problemTexts(setpoints("70", "72", "2")).isEmpty()) << "a deadband apart exactly";
    EXPECT_EQ(problemTexts(setpoints("70.5", "72", "2")),
              QStringList{"occ_heat_setpts, occ_cool_setpts, dead_band: The deadband limitation "
                          "was not respected. (occ_heat_setpts 70.5, occ_cool_setpts 72, "
                          "dead_band 2)"});
    QMap<QString, QString> beyondLimits = setpoints("70", "75", "2");
    beyondLimits.insert("max_heat", "65");
    beyondLimits.insert("min_cool_setpts", "78");
    beyondLimits.insert("unocc_cool_setpts", "77");
    const QStringList texts = problemTexts(beyondLimits);
    ASSERT_EQ(texts.size(), 3) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts[0].startsWith("occ_heat_setpts, max_heat: Heating maximum limit was not "
                                    "respected."));
    EXPECT_TRUE(texts[1].startsWith("occ_cool_setpts, min_cool_setpts: Cooling minimum limit"));
    EXPECT_TRUE(texts[2].startsWith("unocc_cool_setpts, min_cool_setpts:"));
    // A rule whose values are not all given is left to the device's values.
    EXPECT_TRUE(problemTexts({{"occ_heat_setpts", "85"}}).isEmpty());
}

TEST(ConfigRules, TwoNamesOfOneSettingMustAgree) {
    EXPECT_TRUE(problemTexts({{"fan_cont", "OFF"}, {"heating_mode_fan_cont", "OFF"}}).isEmpty());
    EXPECT_EQ(problemTexts({{"fan_cont", "OFF"}, {"heating_mode_fan_cont", "ON"}}),
              QStringList{"heating_mode_fan_cont, fan_cont: one setting of the device given two "
                          "values, \"ON\" and \"OFF\""});
}

TEST(ConfigPlacement, ModelsLeaveOutWhatTheWindowHidesOrDisables) {
    const ConfigurationFields fields(Imperial);
    auto available = [&](const char* name, qint16 model, std::optional<bool> heatPump = {}) {
        ModelLayout layout = modelLayoutFor(model);
        if (heatPump) {
            layout.heatPumpShown = *heatPump;
            layout.economizerShown = !*heatPump;
        }
        return isAvailable(fields.find(QString::fromLatin1(name))->placement, layout);
    };
    EXPECT_TRUE(available("occ_1_monday", 13));
    EXPECT_FALSE(available("occ_1_monday", 11)) << "scheduling disabled";
    EXPECT_FALSE(available("prog_rec", 12));
    EXPECT_FALSE(available("econo_min_pos", 10)) << "model tab disabled";
    EXPECT_TRUE(available("econo_min_pos", 1));
    EXPECT_FALSE(available("econo_min_pos", 4));
    EXPECT_TRUE(available("rev_valve_cfg", 4));
    EXPECT_FALSE(available("heat_stage", 4));
    EXPECT_FALSE(available("cool_or_hp_stages", 16));
    EXPECT_TRUE(available("rev_valve_cfg", 0, true)) << "unknown model: the HVAC type decides";
    EXPECT_FALSE(available("rev_valve_cfg", 0, false));
    EXPECT_TRUE(available("occ_cool_setpts", 16));
    // Identity values are placed but never configurable.
    EXPECT_FALSE(fields.find("nciMajVer")->configurable());
    EXPECT_EQ(fields.find("nciHvacType"), nullptr) << "a label, shown in the heading";
}

TEST(ConfigFile, WrittenFileReadsBackAndNumbersReadAsTheirText) {
    QTemporaryDir folder;
    const QString path = folder.filePath("rtu.json");
    ConfigurationFile file;
    file.programId = "8003DB5500040421";
    file.network = "Site";
    file.device = "Floor 1/RTU-1";
    file.model = 9;
    file.hvacType = "HVT_ROOFTOP";
    file.saved = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone::utc());
    file.unitSystem = Metric;
    file.readOnly = {{"nciMajVer", "1"}};
    file.fields = {{"password", "42"}, {"nciLocation", "Hall \"A\""}};
    writeOutputFile(path, configurationJson(file));
    const ConfigurationFile read =
        readConfigurationFile(path, file.programId, ConfigurationFields(Imperial));
    EXPECT_EQ(read.fields, file.fields);
    EXPECT_EQ(read.readOnly, file.readOnly);
    EXPECT_EQ(read.saved, file.saved);
    EXPECT_EQ(read.unitSystem, Metric);
    EXPECT_EQ(read.model, 9);

    QFile edited(path);
    ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
    QByteArray text = edited.readAll().replace("\"42\"", "42.50");
    edited.resize(0);
    edited.write(text);
    edited.close();
    EXPECT_EQ(readConfigurationFile(path, file.programId, ConfigurationFields(Imperial))
                  .fields.value("password"),
              "42.5");
}

TEST(ConfigFile, AFileThatCannotBeWrittenLeavesTheOldOne) {
    QTemporaryDir folder;
    const QString path = folder.filePath("keep.json");
    writeOutputFile(path, "old");
    {
        const FileSizeLimit full(64); // the new text does not fit on the "disk"
        EXPECT_THROW(writeOutputFile(path, QByteArray(4096, 'n')), FileProblem);
    }
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.json"})
        << "no half-written file is left beside it";
}

ConfigurationFile rooftopFile(qint16 units, const QMap<QString, QString>& fields) {
    ConfigurationFile file;
    file.hvacType = "HVT_ROOFTOP";
    file.unitSystem = units;
    file.fields = fields;
    return file;
}

QStringList differingFields(const ConfigurationFile& a, const ConfigurationFile& b,
                            qint16 shownIn = Imperial) {
    ShownValues shown(shownIn);
    QStringList names;
    for (const FieldDifference& difference : differences(a, b, shown))
        names << difference.name;
    return names;
}

TEST(ConfigDiff, TextsTheDeviceHoldsAlikeAreTheSameWhateverUnitsTheyWereSavedIn) {
    const ConfigurationFile imperial = rooftopFile(
        Imperial, {{"occ_heat_setpts", "74"}, {"occ_cool_setpts", "78"}, {"password", "7"}});
    // 74 ºF held at 0.01 ºC reads back as 73.99; 78 ºF is 25.56 ºC.
    EXPECT_EQ(differingFields(imperial, rooftopFile(Imperial, {{"occ_heat_setpts", "73.99"},
                                                               {"occ_cool_setpts", "78.00"},
                                                               {"password", "7"}})),
              QStringList());
    EXPECT_EQ(differingFields(imperial, rooftopFile(Metric, {{"occ_heat_setpts", "23.33"},
                                                             {"occ_cool_setpts", "25.56"},
                                                             {"password", "7"}})),
              QStringList());
    // The same text in the other unit system is another value; a field one lacks differs.
    EXPECT_EQ(differingFields(imperial, rooftopFile(Metric, {{"occ_heat_setpts", "74"},
                                                             {"occ_cool_setpts", "25.56"}})),
              (QStringList{"occ_heat_setpts", "password"}));

    ShownValues metric(Metric);
    const std::vector<FieldDifference> found =
        differences(imperial,
                    rooftopFile(Imperial, {{"occ_heat_setpts", "70"},
                                           {"occ_cool_setpts", "78"},
                                           {"password", "7"},
                                           {"occ_1_monday", "420"}}),
                    metric);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].description, "Occupied heat setpoint");
    EXPECT_EQ(found[0].a->text + ' ' + found[0].a->unit, "23.33 ºC");
    EXPECT_EQ(found[0].b->text, "21.11");
    EXPECT_FALSE(found[1].a);
    EXPECT_EQ(found[1].b->text + '|' + found[1].b->unit, "07:00|") << "a time of day needs no unit";
}

TEST(ConfigReport, CsvCellsAreQuotedAsRfc4180WritesThem) {
    EXPECT_EQ(csvCell("Floor 1/RTU-1"), "Floor 1/RTU-1");
    EXPECT_EQ(csvCell("a,b"), "\"a,b\"");
    EXPECT_EQ(csvCell("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvCell("two\r\nlines"), "\"two\r\nlines\"");
}

} // namespace
