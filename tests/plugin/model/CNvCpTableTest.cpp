// SPDX-License-Identifier: Apache-2.0
#include "Failures.h"
#include "FakeLns.h"
#include "model/Specific.h"

#include <gtest/gtest.h>

namespace {

class ValueObject : public ::testing::Test {
protected:
    std::shared_ptr<CNvCpTable> valueOn(std::shared_ptr<fake::ConfigProperty> property,
                                        const QString& separator) {
        auto value = std::make_shared<CNvCpTable>(specific, system);
        value->Name = QStringLiteral("nciSetPts");
        value->Format = QStringLiteral("SNVT_temp_setpt");
        value->Separator = separator;
        value->MyNetworkVariable = std::move(property);
        return value;
    }

    Specific specific;
    std::shared_ptr<fake::System> system = std::make_shared<fake::System>();
};

TEST_F(ValueObject, ReadsUnderTheFormatOfTheUnitSystemWhenLocalizationSpecific) {
    auto property = std::make_shared<fake::ConfigProperty>(
        0, 60, QStringList{QStringLiteral("74.00,,76.00,68.00,64.00,60.00")});
    auto value = valueOn(property, QStringLiteral(","));
    value->LocalizationSpecific = true;

    value->GetNetworkValue();
    EXPECT_EQ(property->formatSpec, QStringLiteral("SNVT_temp_setpt#US"));
    // Adjacent separators keep the empty item, and joining gives the text back.
    EXPECT_EQ(value->NvAsArray().size(), 6);
    EXPECT_EQ(value->NvAsArray()[1], QString());
    EXPECT_EQ(value->NvAsString(), QStringLiteral("74.00,,76.00,68.00,64.00,60.00"));

    specific.UnitSystem = Specific::Metric;
    value->GetNetworkValue();
    EXPECT_EQ(property->formatSpec, QStringLiteral("SNVT_temp_setpt#SI"));

    value->LocalizationSpecific = false;
    value->GetNetworkValue();
    EXPECT_EQ(property->formatSpec, QStringLiteral("SNVT_temp_setpt"));
}

TEST_F(ValueObject, SplitsOnlyWhereTheSeparatorSays) {
    auto location = valueOn(std::make_shared<fake::ConfigProperty>(
                                0, 17, QStringList{QStringLiteral(" Room 12,  north ")}),
                            QString());
    location->GetNetworkValue();
    EXPECT_EQ(location->NvAsArray(), QStringList{QStringLiteral(" Room 12,  north ")});

    auto empty = valueOn(std::make_shared<fake::ConfigProperty>(0, 17, QStringList{QString()}),
                         QStringLiteral(" "));
    empty->GetNetworkValue();
    EXPECT_TRUE(empty->NvAsArray().isEmpty());
    EXPECT_EQ(empty->NvAsString(), QString());
}

TEST_F(ValueObject, ReadsAndWritesOnlyItsElementOfAnArray) {
    QStringList days;
    for (int day = 0; day < 7; ++day)
        days << QStringLiteral("%1 1020 0 0").arg(day);
    auto property = std::make_shared<fake::ConfigProperty>(4, 4, days);
    auto thursday = valueOn(property, QStringLiteral(" "));
    thursday->ArrayIndex = 3;

    thursday->GetNetworkValue();
    EXPECT_EQ(thursday->NvAsString(), QStringLiteral("3 1020 0 0"));
    thursday->Edit(0, QStringLiteral("480"));
    EXPECT_TRUE(thursday->SendNetworkValue());
    EXPECT_FALSE(thursday->ValueAsChanges());
    EXPECT_EQ(property->journal,
              (QStringList{QStringLiteral("read 3"),
                           QStringLiteral("write 3 SNVT_temp_setpt 480 1020 0 0")}));
    EXPECT_EQ(property->elements[2], QStringLiteral("2 1020 0 0"));
}

TEST_F(ValueObject, OffNetWithFlags36ReadsPlaceholdersWithoutTouchingTheDevice) {
    auto property =
        std::make_shared<fake::ConfigProperty>(0, 60, QStringList{QStringLiteral("1,2")});
    property->flags = 36;
    system->managementMode = 1;
    auto value = valueOn(property, QStringLiteral(","));

    value->GetNetworkValue();
    EXPECT_EQ(value->NvAsArray(), QStringList(26, QStringLiteral("?")));
    EXPECT_EQ(value->NvAsString(), QStringList(26, QStringLiteral("?")).join(u','));
    EXPECT_TRUE(property->journal.isEmpty());

    property->flags = 37;
    value->GetNetworkValue();
    EXPECT_EQ(value->NvAsString(), QStringLiteral("1,2"));
}

// A property whose flags cannot be read.
class UnreadableFlags : public fake::ConfigProperty {
public:
    using fake::ConfigProperty::ConfigProperty;
    qint16 Flags() const override {
        throw Error::lns(lns::Code::DeviceUnreachable, QStringLiteral("Flags"),
                         QStringLiteral("flags unreadable"));
    }
};

TEST_F(ValueObject, FlagsThatCannotBeReadFailTheReadOnAndOffNet) {
    auto property = std::make_shared<UnreadableFlags>(0, 60, QStringList{QStringLiteral("1,2")});
    auto value = valueOn(property, QStringLiteral(","));
    fake::holdItems(*value, {QStringLiteral("earlier")});
    for (int mode : {0, 1}) {
        system->managementMode = mode;
        const Error failure = failureOf([&] { value->GetNetworkValue(); });
        EXPECT_EQ(failure.source(), QStringLiteral("GetNetworkValue")) << mode;
        EXPECT_EQ(failure.number(), Error::LnsErrorBase + lns::Code::DeviceUnreachable);
        EXPECT_EQ(value->NvAsArray(), QStringList{QStringLiteral("earlier")});
    }
    EXPECT_TRUE(property->journal.isEmpty());
}

TEST_F(ValueObject, FailedReadKeepsTheItemsAndExplainsItself) {
    auto property =
        std::make_shared<fake::ConfigProperty>(0, 60, QStringList{QStringLiteral("1,2")});
    auto value = valueOn(property, QStringLiteral(","));
    value->GetNetworkValue();

    property->readFailure = lns::Code::DeviceUnreachable;
    const Error unreachable = failureOf([&] { value->GetNetworkValue(); });
    EXPECT_EQ(unreachable.number(), Error::LnsErrorBase + lns::Code::DeviceUnreachable);
    EXPECT_EQ(unreachable.source(), QStringLiteral("GetNetworkValue"));
    EXPECT_EQ(
        unreachable.description(),
        QStringLiteral("Error reading nciSetPts \r\nFailed to communicate with target device."));
    EXPECT_EQ(value->NvAsString(), QStringLiteral("1,2"));

    // Other codes, even with a text of their own, give the failure's own description.
    property->readFailure = lns::Code::FormatFailed;
    EXPECT_EQ(failureOf([&] { value->GetNetworkValue(); }).description(),
              QStringLiteral("Error reading nciSetPts \r\nread refused"));
}

TEST_F(ValueObject, FailedWriteStaysDirtyAndExplainsItself) {
    auto property =
        std::make_shared<fake::ConfigProperty>(0, 60, QStringList{QStringLiteral("1,2")});
    auto value = valueOn(property, QStringLiteral(","));
    value->GetNetworkValue();
    value->Edit(0, QStringLiteral("3"));

    const std::pair<int, QString> refusals[] = {
        {lns::Code::WriteFailed, "Failed to write data to the network variable object."},
        {lns::Code::FormatFailed, "An attempt to format the requested data has failed."}};
    for (const auto& [code, reason] : refusals) {
        property->writeFailure = code;
        const Error failure = failureOf([&] { value->SendNetworkValue(); });
        EXPECT_EQ(failure.number(), Error::LnsErrorBase + code);
        EXPECT_EQ(failure.source(), QStringLiteral("SendNetworkValue"));
        EXPECT_EQ(failure.description(), QStringLiteral("Error updating nciSetPts \r\n") + reason);
        EXPECT_TRUE(value->ValueAsChanges());
    }
    property->writeFailure = lns::Code::DeviceUnreachable;
    EXPECT_EQ(failureOf([&] { value->SendNetworkValue(); }).description(),
              QStringLiteral("Error updating nciSetPts \r\nwrite refused"));
}

TEST_F(ValueObject, HeldAndPendingStayApartThroughSendsReadsAndUnits) {
    auto property = std::make_shared<fake::ConfigProperty>(
        0, 60, QStringList{QStringLiteral("74.00,75.00,76.00,68.00,64.00,60.00")});
    property->separator = QStringLiteral(",");
    auto value = valueOn(property, QStringLiteral(","));
    value->LocalizationSpecific = true;
    value->GetNetworkValue();
    value->Edit(3, QStringLiteral("70"));
    EXPECT_EQ(value->HeldItems()[3], QStringLiteral("68.00"));
    EXPECT_EQ(value->NvAsArray()[3], QStringLiteral("70"));
    EXPECT_THROW(value->Edit(6, QStringLiteral("1")), Error);

    // A read keeps the edit, converted when it reads in the other units.
    specific.UnitSystem = Specific::Metric;
    value->GetNetworkValue();
    EXPECT_EQ(value->PendingItems(), (QMap<int, QString>{{3, QStringLiteral("21.11")}}));

    // A refused send changes neither.
    property->writeFailure = lns::Code::WriteFailed;
    EXPECT_THROW(value->SendNetworkValue(), Error);
    EXPECT_EQ(value->HeldItems()[3], QStringLiteral("68.00"));
    EXPECT_TRUE(value->ValueAsChanges());

    // One that goes through sends the edit alone; it is then held as a read
    // shows it.
    property->writeFailure = 0;
    property->journal.clear();
    value->Edit(0, QStringLiteral("30"));
    value->DropPendingEdits();
    EXPECT_EQ(value->NvAsArray(), value->HeldItems());
    value->Edit(3, QStringLiteral("21.5"));
    value->SendNetworkValue();
    EXPECT_EQ(property->journal,
              QStringList{
                  QStringLiteral("write 0 SNVT_temp_setpt#SI 74.00,75.00,76.00,21.5,64.00,60.00")});
    EXPECT_FALSE(value->ValueAsChanges());
    EXPECT_EQ(value->HeldItems()[3], QStringLiteral("21.50"));
}

TEST_F(ValueObject, WithoutPropertyEveryReadAndWriteFailsWithTheGenericReason) {
    auto value = valueOn(nullptr, QStringLiteral(","));
    const Error read = failureOf([&] { value->GetNetworkValue(); });
    EXPECT_EQ(read.source(), QStringLiteral("GetNetworkValue"));
    EXPECT_TRUE(read.description().startsWith(
        QStringLiteral("Error reading nciSetPts \r\nObject variable")));
    EXPECT_EQ(failureOf([&] { value->SendNetworkValue(); }).source(),
              QStringLiteral("SendNetworkValue"));
}

} // namespace
