// SPDX-License-Identifier: Apache-2.0
#include "FakeLns.h"
#include "TestEnvironment.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldCatalog.h"
#include "model/FieldControls.h"
#include "model/Specific.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

class Catalogs : public ::testing::Test {
protected:
    void build() {
        BuildNvCpTables(specific, lookup, system);
        BuildNvCtrlTables(specific, controls);
    }

    Specific specific;
    FieldControls controls = fake::windowControls();
    std::shared_ptr<fake::System> system = std::make_shared<fake::System>();
    QStringList paths;
    lns::Ref<lns::ConfigProperty> property = std::make_shared<fake::ConfigProperty>(0, 60);
    CpLookupFunction lookup = [this](const QString& path) {
        paths << path;
        return path == u"F:0/C:0:60" ? property : nullptr;
    };
};

TEST_F(Catalogs, ValuesAreBoundThroughTheirPathsInCatalogOrder) {
    build();
    ASSERT_EQ(specific.NvCpTables.Count(), 19);
    EXPECT_EQ(paths.size(), 19);
    EXPECT_EQ(paths.count(QStringLiteral("F:0/C:4:4")), 7);
    EXPECT_EQ(specific.NvCpTables.Item(1)->MyNetworkVariable, property);
    EXPECT_EQ(specific.NvCpTables.Item(2)->MyNetworkVariable, nullptr); // still added

    const auto& raw = specific.NvCpTables.Item(19);
    EXPECT_EQ(raw->Name, QStringLiteral("nciSccModel (Raw)"));
    EXPECT_EQ(specific.NvCpTables.Item(QStringLiteral("nciSccModelRaw")), raw);
    EXPECT_EQ(raw->Separator, QStringLiteral("\t"));
    EXPECT_EQ(specific.NvCpTables.Item(QStringLiteral("nciLocation"))->Separator, QString());
    EXPECT_EQ(specific.NvCpTables.Item(QStringLiteral("nciDaySched6"))->ArrayIndex, 6);
    EXPECT_TRUE(specific.NvCpTables.Item(QStringLiteral("nciCfg2RtuHp"))->LocalizationSpecific);
    EXPECT_FALSE(specific.NvCpTables.Item(QStringLiteral("nciSccModel"))->LocalizationSpecific);
}

TEST_F(Catalogs, FieldsCarryTheirControlsItemsLimitsAndRounding) {
    build();
    const auto& fields = specific.NvCtrlTables;
    ASSERT_EQ(fields.Count(), 83);
    EXPECT_EQ(fields.Item(1)->Name, QStringLiteral("occ_cool_setpts"));
    EXPECT_EQ(fields.Item(83)->Name, QStringLiteral("nciLocation"));

    const auto& occCool = fields.Item(QStringLiteral("occ_cool_setpts"));
    EXPECT_EQ(occCool->TheControl, controls.txtNvi[2]);
    EXPECT_EQ(occCool->NvCpTable, specific.NvCpTables.Item(QStringLiteral("nciSetPts")));
    EXPECT_EQ(occCool->MinLimit(Specific::Imperial), QStringLiteral("54"));
    EXPECT_EQ(occCool->MaxLimit(Specific::Metric), QStringLiteral("37.5"));
    EXPECT_TRUE(occCool->RoundValue && occCool->OffsetValue);
    EXPECT_EQ(occCool->Ceiling, 0.5);
    EXPECT_EQ(fields.Item(QStringLiteral("low_balance_point"))->MaxLimit(Specific::Metric),
              QStringLiteral("-1"));
    EXPECT_EQ(fields.Item(QStringLiteral("ouput_heartbeat"))->MaxLimit(Specific::Imperial),
              QStringLiteral("6553.4"));
    EXPECT_EQ(fields.Item(QStringLiteral("occ_1_thusrday"))->MaxLimit(Specific::Metric),
              QStringLiteral("1439"));

    const auto& model = fields.Item(QStringLiteral("nciSccModel_label"));
    EXPECT_EQ(model->TheControl, controls.lbModel);
    EXPECT_FALSE(model->RoundValue);
    EXPECT_EQ(model->MaxLimit(Specific::Imperial), QStringLiteral("0"));
    EXPECT_EQ(fields.Item(QStringLiteral("nciSccModelRaw"))->TheControl, controls.txtDebug);
    EXPECT_EQ(fields.Item(QStringLiteral("nciHvacType"))->TheControl, controls.lbHvacType);
    EXPECT_EQ(fields.Item(QStringLiteral("prop_band"))->TheControl, controls.cbNvi[23]);

    for (const auto& field : fields)
        EXPECT_EQ(field->Typee, QStringLiteral("CP"));
}

TEST_F(Catalogs, SharedFieldsReadAndWriteOneItem) {
    build();
    auto cfg1 = specific.NvCpTables.Item(QStringLiteral("nciCfg1RtuHp"));
    fake::holdItems(*cfg1, QStringList(22, QStringLiteral("0")));
    const auto& fields = specific.NvCtrlTables;
    fields.Item(QStringLiteral("fan_cont"))->Value(QStringLiteral("OFF"));
    EXPECT_EQ(fields.Item(QStringLiteral("heating_mode_fan_cont"))->Value(), QStringLiteral("OFF"));
    fields.Item(QStringLiteral("fan_purge_del"))->Value(QStringLiteral("ON"));
    EXPECT_EQ(fields.Item(QStringLiteral("fan_del"))->Value(), QStringLiteral("ON"));
    EXPECT_EQ(fields.Item(QStringLiteral("fan_cont"))->TheControl,
              fields.Item(QStringLiteral("heating_mode_fan_cont"))->TheControl);
}

TEST_F(Catalogs, ALaterDeviceReplacesBothCatalogs) {
    build();
    const auto firstValue = specific.NvCpTables.Item(1);
    auto secondProperty = std::make_shared<fake::ConfigProperty>(0, 60);
    property = secondProperty;
    build();
    EXPECT_EQ(specific.NvCpTables.Count(), 19);
    EXPECT_EQ(specific.NvCtrlTables.Count(), 83);
    EXPECT_NE(specific.NvCpTables.Item(1), firstValue);
    EXPECT_EQ(specific.NvCpTables.Item(1)->MyNetworkVariable, secondProperty);
    EXPECT_EQ(specific.NvCtrlTables.Item(1)->NvCpTable, specific.NvCpTables.Item(1));
}

TEST_F(Catalogs, FieldsWithoutTheirValuesFailAndLeaveTheFieldsAsTheyWere) {
    build();
    const auto firstField = specific.NvCtrlTables.Item(1);
    specific.NvCpTables.Clear();
    try {
        BuildNvCtrlTables(specific, controls);
        ADD_FAILURE() << "built without values";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), Error::KeyNotFound);
    }
    EXPECT_EQ(specific.NvCtrlTables.Item(1), firstField);
}

TEST(KeyedCollectionTest, RefusesDuplicateKeysAndUnknownPositions) {
    KeyedCollection<int> numbers(QStringLiteral("numbers"));
    numbers.Add(QStringLiteral("one"), std::make_shared<int>(1));
    try {
        numbers.Add(QStringLiteral("one"), std::make_shared<int>(2));
        ADD_FAILURE() << "duplicate accepted";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), Error::DuplicateKey);
    }
    EXPECT_EQ(*numbers.Item(1), 1);
    EXPECT_THROW(numbers.Item(0), Error);
    EXPECT_THROW(numbers.Item(2), Error);
    EXPECT_THROW(numbers.Item(QStringLiteral("One")), Error);
}

TEST(ResourceLocationTest, FollowsTheLonWorksFolderOfTheMachine) {
    TempPlatformRoot root;
    SettingsStore settings(PlatformRoot::settingsStoreFile());
    settings.setValue(
        Hive::LocalMachine, QStringLiteral("SOFTWARE\\LonWorks"),
        RegistryValue::string(QStringLiteral("LonWorks Path"), QStringLiteral("C:\\LonWorks")));
    Specific specific;
    InitResourceLocation(specific, settings);
    const ResourceLocation& location = specific.ResourceLocations[0];
    EXPECT_EQ(location.path, QStringLiteral("C:\\LonWorks\\types\\User\\Zentaro"));
    EXPECT_EQ(location.programIdScope, QStringLiteral("8003DB5500000000"));
    EXPECT_EQ(location.scope, 4);
}

} // namespace
