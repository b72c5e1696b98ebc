// SPDX-License-Identifier: Apache-2.0
#include "model/EditingRules.h"

#include "Failures.h"
#include "model/RuntimeErrors.h"

#include <gtest/gtest.h>

using namespace rules;

namespace {

// A number whose text has more digits than a double can hold.
const QString Huge = QStringLiteral("1") + QString(400, u'0');

TEST(NumberTextTest, LeadingNumberReadsThePrefixAndOtherwiseZero) {
    EXPECT_EQ(leadingNumber(QStringLiteral("21.5 x")), 21.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("  -3.5abc")), -3.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("1e3")), 1);
    EXPECT_EQ(leadingNumber(QStringLiteral("+.5")), 0.5);
    for (const char* text : {"abc", "", "--5", "-", ".", "x1"})
        EXPECT_EQ(leadingNumber(QString::fromLatin1(text)), 0) << text;
}

TEST(NumberTextTest, NumericMeansTheWholeTextIsOneNumber) {
    for (const char* text : {" 21.5 ", "-3", "+.5", "5.", "0"})
        EXPECT_TRUE(isNumeric(QString::fromLatin1(text))) << text;
    for (const char* text : {"", " ", "--", ".", "-", "21.5 x", "1e3", "07:30", "- 5", "1,5"})
        EXPECT_FALSE(isNumeric(QString::fromLatin1(text))) << text;
}

TEST(NumberTextTest, ANumberBeyondADoubleOverflowsAndIsNotNumeric) {
    EXPECT_EQ(failureOf([] { leadingNumber(Huge); }).number(), RuntimeErrors::OverflowNumber);
    EXPECT_FALSE(isNumeric(Huge));
    EXPECT_FALSE(steppedText(Huge, true, 0));
    const QString tiny = QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1");
    EXPECT_EQ(leadingNumber(tiny), 0);
    EXPECT_TRUE(isNumeric(tiny));
}

TEST(NumberTextTest, WritesTheShortestTextOfFifteenSignificantDigits) {
    EXPECT_EQ(numberText(23), QStringLiteral("23"));
    EXPECT_EQ(numberText(35 - 0.05), QStringLiteral("34.95"));
    EXPECT_EQ(numberText(100 - 0.025), QStringLiteral("99.975"));
    EXPECT_EQ(numberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(numberText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(numberText(1e20), QStringLiteral("100000000000000000000")); // no exponent
}

TEST(KeyRulesTest, ValueBoxesTakeNumberCharactersOnlyTheLocationBoxEverything) {
    for (char16_t c : {u'7', u'.', u'-', u':', u'\b'})
        EXPECT_TRUE(acceptsCharacter(0, QChar(c))) << int(c);
    for (char16_t c : {u'a', u' ', u'+', u',', u'e'}) {
        EXPECT_FALSE(acceptsCharacter(0, QChar(c))) << int(c);
        EXPECT_TRUE(acceptsCharacter(LocationBox, QChar(c))) << int(c);
    }
}

TEST(KeyRulesTest, PageKeysStepByModifierState) {
    const QString text = QStringLiteral("21.5");
    EXPECT_EQ(steppedText(text, true, 0), QStringLiteral("22"));
    EXPECT_EQ(steppedText(text, false, 0), QStringLiteral("21"));
    EXPECT_EQ(steppedText(text, true, Shift), QStringLiteral("31.5"));
    EXPECT_EQ(steppedText(text, true, Alt), QStringLiteral("22.5"));
    EXPECT_EQ(steppedText(text, true, Alt | Shift), QStringLiteral("22.5"));
    EXPECT_EQ(steppedText(text, true, Ctrl), QStringLiteral("21.5"));
    EXPECT_EQ(steppedText(text, true, Ctrl | Shift), QStringLiteral("21.5"));
    EXPECT_EQ(steppedText(QStringLiteral("--"), false, 0), std::nullopt);
    EXPECT_EQ(steppedText(QString(), true, 0), std::nullopt);
}

TEST(KeyRulesTest, StepsRoundDecimalHalvesToTheEvenTenth) {
    EXPECT_EQ(roundedToTenths(0.25), 0.2);
    EXPECT_EQ(roundedToTenths(0.35), 0.4);   // 0.34999... in binary
    EXPECT_EQ(roundedToTenths(21.15), 21.2); // 21.14999... in binary
    EXPECT_EQ(roundedToTenths(-0.25), -0.2);
    EXPECT_EQ(roundedToTenths(1e300), 1e300);
    EXPECT_EQ(steppedText(QStringLiteral("21.25"), true, 0), QStringLiteral("21.8"));
    EXPECT_EQ(steppedText(QStringLiteral("0.35"), true, Ctrl), QStringLiteral("0.4"));
}

SetpointTexts setpoints() {
    return {QStringLiteral("21"), QStringLiteral("18"),    QStringLiteral("22"),
            QStringLiteral("28"), QStringLiteral("25.00"), QStringLiteral("15"),
            QStringLiteral("2")};
}

void expectAdjustments(const std::vector<Adjustment>& actual,
                       const std::vector<std::pair<int, QString>>& expected,
                       const QString& reason) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].target, expected[i].first) << i;
        EXPECT_EQ(actual[i].text, expected[i].second) << i;
        EXPECT_EQ(actual[i].reason, reason) << i;
    }
}

TEST(SetpointRulesTest, ASetpointPushesTheOtherSideByTheDeadbandAndAcceptsItExactly) {
    SetpointTexts texts = setpoints();
    expectAdjustments(adjustmentsLeavingTextBox(0, texts), {{2, "23"}}, deadbandReason());
    expectAdjustments(adjustmentsLeavingTextBox(2, texts), {{0, "20"}}, deadbandReason());
    texts.occCool = QStringLiteral("23");
    EXPECT_TRUE(adjustmentsLeavingTextBox(0, texts).empty());
    texts.unoccHeat = QStringLiteral("27.5");
    expectAdjustments(adjustmentsLeavingTextBox(1, texts), {{3, "29.5"}}, deadbandReason());
    expectAdjustments(adjustmentsLeavingTextBox(3, texts), {{1, "26"}}, deadbandReason());
}

TEST(SetpointRulesTest, AnExactDeadbandSurvivesBinaryRounding) {
    SetpointTexts texts = setpoints();
    texts.occHeat = QStringLiteral("15.4"); // 16.9 - 15.4 is 1.4999... in binary
    texts.occCool = QStringLiteral("16.9");
    texts.deadband = QStringLiteral("1.5");
    EXPECT_TRUE(adjustmentsLeavingTextBox(0, texts).empty());
    EXPECT_TRUE(adjustmentsLeavingTextBox(2, texts).empty());
    // 80 F is held as 80.01: the pair set 80/82 reads back a hundredth short,
    // two hundredths short is a pair the user set too close.
    texts.occHeat = QStringLiteral("80.01");
    texts.occCool = QStringLiteral("82.00");
    texts.deadband = QStringLiteral("2");
    EXPECT_TRUE(adjustmentsLeavingTextBox(0, texts).empty());
    texts.occCool = QStringLiteral("81.99");
    expectAdjustments(adjustmentsLeavingTextBox(0, texts), {{2, "82.01"}}, deadbandReason());
}

TEST(SetpointRulesTest, ALimitPullsBothSetpointsToItsTextInOrder) {
    SetpointTexts texts = setpoints();
    texts.occHeat = QStringLiteral("26");
    texts.unoccHeat = QStringLiteral("27");
    expectAdjustments(adjustmentsLeavingTextBox(4, texts), {{0, "25.00"}, {1, "25.00"}},
                      maxHeatReason());
    texts.occHeat = QStringLiteral("25");
    expectAdjustments(adjustmentsLeavingTextBox(4, texts), {{1, "25.00"}}, maxHeatReason());
    texts.occCool = QStringLiteral("14");
    expectAdjustments(adjustmentsLeavingTextBox(6, texts), {{2, "15"}}, minCoolReason());
}

TEST(SetpointRulesTest, AWiderDeadbandLowersBothHeatingSetpoints) {
    SetpointTexts texts = setpoints();
    texts.deadband = QStringLiteral("12");
    expectAdjustments(adjustmentsLeavingComboBox(2, texts), {{0, "10"}, {1, "16"}},
                      deadbandReason());
    EXPECT_TRUE(adjustmentsLeavingComboBox(3, texts).empty());
    EXPECT_EQ(adjustmentMessage(deadbandReason()),
              QStringLiteral("The deadband limitation was not respected.\r\n\r\n"
                             "Adjustment where made"));
}

TEST(SetpointRulesTest, ARuleWithAnUnknownOperandChangesNothingAndSaysWhichItLeft) {
    SetpointTexts texts = setpoints();
    texts.deadband = QStringLiteral("?");
    RuleOutcome leavingHeat = outcomeLeavingTextBox(0, texts);
    EXPECT_TRUE(leavingHeat.adjustments.empty());
    ASSERT_EQ(leavingHeat.skipped.size(), 1u);
    EXPECT_EQ(leavingHeat.skipped[0].target, 2);
    EXPECT_EQ(leavingHeat.skipped[0].reason, deadbandReason());
    EXPECT_EQ(outcomeLeavingComboBox(2, texts).skipped.size(), 2u);

    // The limit rules read no deadband; an unknown setpoint is left alone.
    texts = setpoints();
    texts.occHeat = QStringLiteral(" ?");
    texts.unoccHeat = QStringLiteral("27");
    const RuleOutcome leavingMaximum = outcomeLeavingTextBox(4, texts);
    expectAdjustments(leavingMaximum.adjustments, {{1, "25.00"}}, maxHeatReason());
    ASSERT_EQ(leavingMaximum.skipped.size(), 1u);
    EXPECT_EQ(leavingMaximum.skipped[0].target, 0);
    EXPECT_TRUE(adjustmentsLeavingTextBox(2, texts).empty());
}

TEST(SetpointRulesTest, OverflowIsAnErrorNotACrash) {
    SetpointTexts texts = setpoints();
    texts.occCool = QStringLiteral("17") + QString(307, u'0'); // 1.7e308
    texts.occHeat = QStringLiteral("-") + texts.occCool;
    EXPECT_EQ(failureOf([&] { adjustmentsLeavingTextBox(2, texts); }).number(),
              RuntimeErrors::OverflowNumber);
    texts = setpoints();
    texts.maxHeat = Huge;
    EXPECT_EQ(failureOf([&] { adjustmentsLeavingTextBox(4, texts); }).number(),
              RuntimeErrors::OverflowNumber);
}

TEST(RangeCheckTest, AValueAboveTheMaximumShowsTheLimitAndStoresItMovedInside) {
    const RangeResult metric =
        checkRange(QStringLiteral("40"), QStringLiteral("Occupied cool setpoint"),
                   QStringLiteral("37.5"), QStringLiteral("12"), true, 0);
    EXPECT_EQ(metric.shownText, QStringLiteral("37.5"));
    EXPECT_EQ(metric.storedText, QStringLiteral("37.45"));
    EXPECT_EQ(metric.message, QStringLiteral("Occupied cool setpoint out of range\r\n\r\n"
                                             "The maximum allowed value is:  37.5\r\n\r\n"
                                             "The value has been adjusted"));
    const RangeResult imperial = checkRange(QStringLiteral("120"), QStringLiteral("x"),
                                            QStringLiteral("100"), QStringLiteral("54"), true, 1);
    EXPECT_EQ(imperial.shownText, QStringLiteral("100"));
    EXPECT_EQ(imperial.storedText, QStringLiteral("99.975"));
}

TEST(RangeCheckTest, OnlyTheLimitsOwnTextIsMovedInsideAndWithoutMessage) {
    const auto check = [](const char* text, bool offset, int units) {
        return checkRange(QString::fromLatin1(text), QStringLiteral("x"), QStringLiteral("35"),
                          QStringLiteral("12"), offset, units);
    };
    EXPECT_EQ(check("12", true, 0).storedText, QStringLiteral("12.05"));
    EXPECT_EQ(check("12", true, 1).storedText, QStringLiteral("12.025"));
    EXPECT_FALSE(check("12", true, 0).message);
    EXPECT_EQ(check("35", true, 0).storedText, QStringLiteral("34.95"));
    EXPECT_EQ(check("35.0", true, 0).storedText, QStringLiteral("35.0"));
    EXPECT_EQ(check("35", false, 0).storedText, QStringLiteral("35"));
}

TEST(RangeCheckTest, ANegativeLimitIsWrittenWithoutTheBlank) {
    const RangeResult result = checkRange(QStringLiteral("-30"), QStringLiteral("Offset"),
                                          QStringLiteral("35"), QStringLiteral("-26"), false, 0);
    EXPECT_EQ(result.shownText, QStringLiteral("-26"));
    EXPECT_EQ(result.storedText, QStringLiteral("-26"));
    EXPECT_EQ(result.message, QStringLiteral("Offset out of range\r\n\r\n"
                                             "The minimum allowed value is: -26\r\n\r\n"
                                             "The value has been adjusted"));
}

TEST(DisplayUnitsTest, OnlyAStoredZeroIsMetric) {
    EXPECT_EQ(unitSystemFromStored(storedUnitSystem(0)), 0);
    for (const char* stored : {"", "1", "2", " 0", "Metric"})
        EXPECT_EQ(unitSystemFromStored(QString::fromLatin1(stored)), 1) << stored;
}

TEST(DisplayUnitsTest, CaptionsUseTheOrdinalSignAndDeadbandsFitTheUnits) {
    const DisplayUnits metric = displayUnitsFor(0);
    EXPECT_EQ(metric.caption, QString(QChar(0xBA)) + u'C');
    EXPECT_EQ(metric.deadbandItems, QStringList({"1", "1.5", "2"}));
    const DisplayUnits imperial = displayUnitsFor(7);
    EXPECT_EQ(imperial.caption, QString(QChar(0xBA)) + u'F');
}

} // namespace
