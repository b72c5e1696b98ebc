// SPDX-License-Identifier: Apache-2.0
#include "FakeLns.h"
#include "model/RoundToStep.h"
#include "model/Specific.h"

#include <gtest/gtest.h>

namespace {

class Field : public ::testing::Test {
protected:
    std::shared_ptr<CNvCtrlTable> fieldOf(qint16 item, double step = 0) {
        auto field = std::make_shared<CNvCtrlTable>();
        field->Name = QStringLiteral("field %1").arg(item);
        field->NvCpTable = value;
        field->ItemArrayIndex = item;
        field->TheControl = control;
        field->RoundValue = step != 0;
        field->Ceiling = step;
        return field;
    }

    Specific specific;
    std::shared_ptr<CNvCpTable> value =
        std::make_shared<CNvCpTable>(specific, std::make_shared<fake::System>());
    std::shared_ptr<fake::Control> control =
        std::make_shared<fake::Control>(FieldControl::Kind::TextBox, QStringLiteral("000.00"));
};

TEST(RoundToStepTest, RoundsToTheNearestMultipleWithTiesToEven) {
    EXPECT_EQ(RoundToStep(QStringLiteral("22.00"), 0.5), 22);
    EXPECT_EQ(RoundToStep(QStringLiteral("22.30"), 0.5), 22.5);
    EXPECT_EQ(RoundToStep(QStringLiteral("22.20"), 0.5), 22);
    EXPECT_EQ(RoundToStep(QStringLiteral("21.25"), 0.5), 21);
    EXPECT_EQ(RoundToStep(QStringLiteral("21.75"), 0.5), 22);
    EXPECT_EQ(RoundToStep(QStringLiteral("22.25"), 0.5), 22);
    EXPECT_EQ(RoundToStep(QStringLiteral("22.75"), 0.5), 23);
    EXPECT_EQ(RoundToStep(QStringLiteral("-2.75"), 0.5), -3);
    EXPECT_EQ(RoundToStep(QStringLiteral(" +1e1 "), 0.5), 10);
    EXPECT_EQ(RoundToStep(QStringLiteral(".5"), 0.5), 0.5);
}

TEST(RoundToStepTest, TextThatIsNoNumberCountsAsZero) {
    for (const char* text : {"?", "", "inf", "nan", "1,5", "0x10", "1e", "--1"})
        EXPECT_EQ(RoundToStep(QString::fromLatin1(text), 0.5), 0) << text;
}

TEST(RoundToStepTest, AQuotientBeyond32BitsOverflows) {
    EXPECT_THROW(RoundToStep(QStringLiteral("1073741824"), 0.5), Error);
    EXPECT_THROW(RoundToStep(QStringLiteral("1e400"), 0.5), Error);
    EXPECT_THROW(RoundToStep(QStringLiteral("1"), 0), Error);
    EXPECT_EQ(RoundToStep(QStringLiteral("1073741823"), 0.5), 1073741823.0);
}

TEST_F(Field, LimitsPrintInShortestFormPerUnitSystem) {
    auto field = fieldOf(0);
    EXPECT_EQ(field->MaxLimit(0), QStringLiteral("0"));
    field->MaxLimit(0, QStringLiteral("37.50"));
    field->MaxLimit(1, QStringLiteral("6553.4"));
    field->MinLimit(0, QStringLiteral("-2.5"));
    field->MinLimit(1, QStringLiteral("100000"));
    EXPECT_EQ(field->MaxLimit(0), QStringLiteral("37.5"));
    EXPECT_EQ(field->MaxLimit(1), QStringLiteral("6553.4"));
    EXPECT_EQ(field->MinLimit(0), QStringLiteral("-2.5"));
    EXPECT_EQ(field->MinLimit(1), QStringLiteral("100000"));
}

TEST_F(Field, BadLimitIndexOrTextFailsAndKeepsTheLimit) {
    auto field = fieldOf(0);
    field->MaxLimit(1, QStringLiteral("100"));
    for (qint16 index : {qint16(2), qint16(-1)}) {
        try {
            field->MaxLimit(index);
            ADD_FAILURE() << "index " << index << " accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), Error::SubscriptOutOfRange);
        }
        EXPECT_THROW(field->MinLimit(index, QStringLiteral("1")), Error);
    }
    EXPECT_THROW(field->MaxLimit(1, QStringLiteral("lots")), Error);
    EXPECT_EQ(field->MaxLimit(1), QStringLiteral("100"));
}

TEST_F(Field, ValueShowsTheItemRoundedWhereTheFieldRounds) {
    fake::holdItems(*value,
                    {QStringLiteral("22.30"), QStringLiteral("?"), QStringLiteral("22.25")});
    EXPECT_EQ(fieldOf(0, 0.5)->Value(), QStringLiteral("22.5"));
    EXPECT_EQ(fieldOf(0)->Value(), QStringLiteral("22.30"));
    EXPECT_EQ(fieldOf(2, 0.5)->Value(), QStringLiteral("22"));
    // The off-net placeholder stays unknown, rounded or not: as 0 it would
    // pass for a value the device holds.
    EXPECT_EQ(fieldOf(1, 0.5)->Value(), QStringLiteral("?"));
    EXPECT_EQ(fieldOf(1)->Value(), QStringLiteral("?"));
}

TEST_F(Field, ValueFallsBackToTheControlWhenThereIsNoItemToShow) {
    EXPECT_EQ(fieldOf(0)->Value(), QStringLiteral("000.00")); // not read yet
    fake::holdItems(*value, {QStringLiteral("1"), QStringLiteral("1073741824")});
    EXPECT_EQ(fieldOf(5)->Value(), QStringLiteral("000.00"));
    EXPECT_EQ(fieldOf(1, 0.5)->Value(), QStringLiteral("000.00"));

    auto other = fieldOf(5);
    other->TheControl =
        std::make_shared<fake::Control>(FieldControl::Kind::Other, QStringLiteral("x"));
    EXPECT_EQ(other->Value(), QString());
    other->TheControl = std::make_shared<fake::Control>(FieldControl::Kind::Label,
                                                        QStringLiteral("Undefined model"));
    EXPECT_EQ(other->Value(), QStringLiteral("Undefined model"));
    other->NvCpTable = nullptr;
    EXPECT_EQ(other->Value(), QStringLiteral("Undefined model"));
}

TEST_F(Field, StoringAValueChangesOnlyItsItemAndAlwaysMarksDirty) {
    value->Separator = QStringLiteral(" ");
    fake::holdItems(*value, {QStringLiteral("ON"), QStringLiteral("22.25")});
    auto fanCont = fieldOf(0);
    auto heatingModeFanCont = fieldOf(0);
    auto setpoint = fieldOf(1, 0.5);

    setpoint->Value(QStringLiteral("22.25"));
    EXPECT_TRUE(value->ValueAsChanges());
    EXPECT_EQ(value->NvAsArray()[1], QStringLiteral("22.25")); // stored unrounded

    fanCont->Value(QStringLiteral("OFF"));
    EXPECT_EQ(heatingModeFanCont->Value(), QStringLiteral("OFF"));
    EXPECT_EQ(fanCont->NvString(), QStringLiteral("OFF 22.25"));
}

TEST_F(Field, StoringBeyondTheItemsFailsAndChangesNothing) {
    fake::holdItems(*value, {QStringLiteral("ON")});
    EXPECT_THROW(fieldOf(1)->Value(QStringLiteral("OFF")), Error);
    EXPECT_EQ(value->NvAsArray(), QStringList{QStringLiteral("ON")});
    EXPECT_FALSE(value->ValueAsChanges());
}

TEST_F(Field, InitializeCleansTheWholeValueObject) {
    fake::holdItems(*value, {QStringLiteral("1"), QStringLiteral("2")});
    fieldOf(0)->Value(QStringLiteral("3"));
    fieldOf(1)->Initialize();
    EXPECT_FALSE(value->ValueAsChanges());
}

TEST_F(Field, DsFormatTypeReachesTheProperty) {
    auto property = std::make_shared<fake::ConfigProperty>(0, 60);
    value->MyNetworkVariable = property;
    fieldOf(0)->DsFormatType(QStringLiteral("SNVT_temp_p"));
    EXPECT_EQ(property->dsFormatType, QStringLiteral("SNVT_temp_p"));
    value->MyNetworkVariable = nullptr;
    EXPECT_THROW(fieldOf(0)->DsFormatType(), Error);
}

} // namespace
