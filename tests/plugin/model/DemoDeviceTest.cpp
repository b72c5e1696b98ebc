// SPDX-License-Identifier: Apache-2.0
#include "DemoNetwork.h"
#include "Failures.h"
#include "FakeLns.h"
#include "ScriptedDialogs.h"
#include "model/CpLookup.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldCatalog.h"
#include "model/FieldControls.h"
#include "model/Specific.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// One device of a kit network opened as the window opens it.
class DemoDevice : public ::testing::Test {
protected:
    void open(DemoNetwork& network, const lns::Ref<lns::AppDevice>& device) {
        const auto nvs = device->Interface()->NetworkVariables();
        BuildNvCpTables(
            specific,
            [&](const QString& path) { return GetCpByTypeIndex(path, device, nvs, dialogs); },
            network.system());
        BuildNvCtrlTables(specific, controls);
    }

    void readAll() {
        for (int position = 1; position <= specific.NvCpTables.Count(); ++position)
            specific.NvCpTables.Item(position)->GetNetworkValue();
    }

    const std::shared_ptr<CNvCpTable>& value(const char* key) const {
        return specific.NvCpTables.Item(QString::fromLatin1(key));
    }
    const std::shared_ptr<CNvCtrlTable>& field(const char* name) const {
        return specific.NvCtrlTables.Item(QString::fromLatin1(name));
    }
    QString shown(const char* name) const { return field(name)->Value(); }

    Specific specific;
    FieldControls controls =
        fake::windowControls(QStringLiteral("000.00"), QStringLiteral("Unknown"));
    ScriptedDialogs dialogs;
};

int dayScheduleReads(const QStringList& journal, int element) {
    return static_cast<int>(
        journal
            .filter(QRegularExpression(
                QStringLiteral("^ConfigProperty\\.FetchElement \"nciDaySched\" %1$").arg(element)))
            .size());
}

TEST_F(DemoDevice, EveryReachableDemoDeviceReadsAllItsValuesInBothUnitSystems) {
    DemoNetwork network;
    for (const auto& device : network.devices()) {
        if (device->Name() == u"RTU-3") // the unreachable one
            continue;
        SCOPED_TRACE(device->Name().toStdString());
        open(network, device);
        for (const auto& entry : specific.NvCpTables)
            EXPECT_NE(entry->MyNetworkVariable, nullptr) << entry->Name.toStdString();
        for (qint16 units : {Specific::Imperial, Specific::Metric}) {
            specific.UnitSystem = units;
            network.server().clearJournal();
            readAll();
            for (int element = 0; element < 7; ++element)
                EXPECT_EQ(dayScheduleReads(network.server().journal(), element), 1);
            // The kit's values, rounded to the half-degree step of the fields.
            const bool heatPump = device->Name().startsWith(u"HP");
            const bool imperial = units == Specific::Imperial;
            EXPECT_EQ(shown("occ_cool_setpts"), heatPump ? (imperial ? "74" : "23.5") // 23.33 C
                                                         : (imperial ? "72" : "22")); // 22.22 C
            EXPECT_EQ(shown("unocc_heat_setpts"), imperial ? "62" : "16.5");          // 16.67 C
            EXPECT_EQ(shown("max_heat"), imperial ? "90" : "32");                     // 90.0 F
            EXPECT_EQ(shown("nciSccModel_label"), shown("nciSccModel"));
            EXPECT_EQ(value("nciDaySched6")->NvAsArray().size(), 4);
        }
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DemoDevice, FieldsShowTheDevicesValues) {
    DemoNetwork network;
    open(network, network.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1")));
    readAll();
    EXPECT_EQ(shown("occ_cool_setpts"), QStringLiteral("72"));
    EXPECT_EQ(shown("unocc_cool_setpts"), QStringLiteral("80"));            // 80.01
    EXPECT_EQ(shown("unocc_heat_setpts"), QStringLiteral("62"));            // 62.01
    EXPECT_EQ(value("nciSetPts")->NvAsArray()[1], QStringLiteral("75.99")); // kept as read
    EXPECT_EQ(shown("occ_1_monday"), QStringLiteral("420"));
    EXPECT_EQ(shown("unocc_2_friday"), QStringLiteral("1080"));
    EXPECT_EQ(shown("occ_1_saturday"), QStringLiteral("480"));
    EXPECT_EQ(shown("occ_2_sunday"), QStringLiteral("0"));
    EXPECT_EQ(shown("nciLocation"), QStringLiteral("Floor 1 North Office"));
    EXPECT_EQ(shown("nciSccModel"), QStringLiteral("1"));
    EXPECT_EQ(shown("nciSccModel_txtNvi"), QStringLiteral("1.4"));
    EXPECT_EQ(shown("nciSccModelRaw"), QStringLiteral("01 01 04"));
    EXPECT_EQ(shown("nciHvacType"), QStringLiteral("HVT_ROOFTOP"));
    EXPECT_EQ(shown("fan_mode"), QStringLiteral("AUTO"));
    EXPECT_EQ(shown("ouput_heartbeat"), QStringLiteral("60.0"));

    specific.UnitSystem = Specific::Metric;
    readAll();
    EXPECT_EQ(shown("occ_cool_setpts"), QStringLiteral("22"));     // 22.22
    EXPECT_EQ(shown("unocc_cool_setpts"), QStringLiteral("26.5")); // 26.67
    EXPECT_EQ(shown("unocc_heat_setpts"), QStringLiteral("16.5")); // 16.67
}

TEST_F(DemoDevice, AnEditWritesBackInTheUnitsItWasReadIn) {
    DemoNetwork network;
    open(network, network.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1")));
    readAll();
    field("occ_cool_setpts")->Value(QStringLiteral("74.5"));
    specific.UnitSystem = Specific::Metric; // changed before the write
    EXPECT_TRUE(value("nciSetPts")->SendNetworkValue());
    EXPECT_FALSE(value("nciSetPts")->ValueAsChanges());
    specific.UnitSystem = Specific::Imperial;
    value("nciSetPts")->GetNetworkValue();
    EXPECT_EQ(shown("occ_cool_setpts"), QStringLiteral("74.5"));

    // The model's property was last read raw; its own write still goes out as model info.
    field("nciSccModel_txtNvi")->Value(QStringLiteral("1.5"));
    EXPECT_TRUE(value("nciSccModel")->SendNetworkValue());
    value("nciSccModelRaw")->GetNetworkValue();
    EXPECT_EQ(shown("nciSccModelRaw"), QStringLiteral("01 01 05"));
}

TEST_F(DemoDevice, OffNetPropertiesWithFlags36ShowPlaceholders) {
    DemoNetwork network(QStringLiteral("Offnet Site"));
    open(network, network.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1")));
    network.server().clearJournal();
    readAll();
    EXPECT_EQ(value("nciSetPts")->NvAsArray(), QStringList(26, QStringLiteral("?")));
    EXPECT_EQ(value("nciLocation")->NvAsArray().size(), 26);
    EXPECT_EQ(shown("occ_cool_setpts"), QStringLiteral("?"));
    EXPECT_EQ(shown("heat_cph"), QStringLiteral("?"));
    EXPECT_EQ(network.server().journal().filter(QStringLiteral("Fetch")).size(), 0);
}

TEST_F(DemoDevice, AnUnreachableDeviceFailsTheReadAndKeepsTheItems) {
    DemoNetwork network;
    open(network, network.device(QStringLiteral("Floor 3"), QStringLiteral("RTU-3")));
    fake::holdItems(*value("nciSetPts"), {QStringLiteral("earlier")});
    const Error failure = failureOf([&] { value("nciSetPts")->GetNetworkValue(); });
    EXPECT_EQ(failure.number(), Error::LnsErrorBase + lns::Code::DeviceUnreachable);
    EXPECT_EQ(failure.source(), QStringLiteral("GetNetworkValue"));
    EXPECT_EQ(
        failure.description(),
        QStringLiteral("Error reading nciSetPts \r\nFailed to communicate with target device."));
    EXPECT_EQ(value("nciSetPts")->NvAsArray(), QStringList{QStringLiteral("earlier")});
}

TEST_F(DemoDevice, AFailedWriteKeepsTheValueDirty) {
    DemoNetwork network;
    open(network, network.device(QStringLiteral("Floor 3"), QStringLiteral("RTU-4")));
    readAll();
    field("occ_cool_setpts")->Value(QStringLiteral("75"));
    const Error failure = failureOf([&] { value("nciSetPts")->SendNetworkValue(); });
    EXPECT_EQ(failure.number(), Error::LnsErrorBase + lns::Code::WriteFailed);
    EXPECT_EQ(failure.source(), QStringLiteral("SendNetworkValue"));
    EXPECT_EQ(
        failure.description(),
        QStringLiteral(
            "Error updating nciSetPts \r\nFailed to write data to the network variable object."));
    EXPECT_TRUE(value("nciSetPts")->ValueAsChanges());
}

} // namespace
