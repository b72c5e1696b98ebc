// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FormatEngine.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <tuple>

using lns::sim::FormatEngine;

namespace {

constexpr qint32 FormatFailed = Error::LnsErrorBase + lns::Code::FormatFailed;

const char* const Cfg1Us =
    "1000 0.5 5 10 12 8 4 90 54 -15 95 -5 5 2 SMART OFF ON LEVEL_2 8 CELSIUS ON SCROLL_ACTIVE";
const char* const Cfg1Si =
    "0 24 0 120 0 3 3 32 12 -26 35 -2.5 2.5 1.5 ON ON OFF NO_LOCKOUT 2 FAHRENHEIT OFF NO_SCROLL";

QString convert(const char* fromSpec, const QString& text, const char* toSpec) {
    return FormatEngine::format(QString::fromUtf8(toSpec),
                                FormatEngine::parse(QString::fromUtf8(fromSpec), text));
}

QString withItem(const char* text, int index, const char* item) {
    QStringList items = QString::fromUtf8(text).split(QLatin1Char(' '));
    items[index] = QString::fromUtf8(item);
    return items.join(QLatin1Char(' '));
}

QString item(const QString& text, int index) {
    return text.split(QLatin1Char(' ')).at(index);
}

qint32 parseFailure(const QString& spec, const QString& text) {
    try {
        FormatEngine::parse(spec, text);
    } catch (const Error& error) {
        return error.number();
    }
    return 0;
}

struct Sample {
    const char* spec;
    const char* text;
};

void PrintTo(const Sample& sample, std::ostream* os) {
    *os << sample.spec << " \"" << sample.text << '"';
}

class FormatRoundTrip : public testing::TestWithParam<Sample> {};

TEST_P(FormatRoundTrip, TextSurvivesRawAndBack) {
    const QString spec = QString::fromUtf8(GetParam().spec);
    const QString text = QString::fromUtf8(GetParam().text);
    const QByteArray raw = FormatEngine::parse(spec, text);
    if (spec != QLatin1String("RAW")) {
        EXPECT_EQ(raw.size(), FormatEngine::rawSize(spec));
    }
    EXPECT_EQ(FormatEngine::format(spec, raw), text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormatInBothUnitSystems, FormatRoundTrip,
    testing::Values(
        Sample{"SNVT_temp_setpt#SI", "22.22,24.00,28.50,20.00,18.00,-5.25"},
        Sample{"SNVT_temp_setpt#US", "72.00,75.20,82.40,68.00,64.40,60.80"},
        Sample{"SNVT_temp_setpt", "-327.68,327.67,0.00,0.01,-0.01,100.00"},
        Sample{"UNVT_cfg_1_rtu_hp#US", Cfg1Us}, Sample{"UNVT_cfg_1_rtu_hp#SI", Cfg1Si},
        Sample{"UNVT_cfg_1_rtu_hp#SI", "1 7.5 1 60 3 5 3 37.5 12.06 -40 48.94 0.06 -1 2.22 AUTO "
                                       "ON OFF LEVEL_1 5 FAHRENHEIT ON NO_SCROLL"},
        Sample{"UNVT_cfg_2_rtu#US", "FAN_LOCKOUT NONE NORMALLY_CLOSED FOUR_EVENTS OFF TWO_STAGES "
                                    "ONE_STAGE 100 55 60 OFF ON"},
        Sample{"UNVT_cfg_2_rtu#SI", "REM_NSB SERVICE NORMALLY_OPEN TWO_EVENTS ON ONE_STAGE "
                                    "TWO_STAGES 0 -10 21.5 ON OFF"},
        Sample{"UNVT_cfg_2_hp#US", "NONE FILTER NORMALLY_OPEN TWO_EVENTS ON B_NORMALLY_COOL "
                                   "TWO_STAGES 20 34 -40 ECONOMY OFF"},
        Sample{"UNVT_cfg_2_hp#SI", "REM_OVR NONE NORMALLY_OPEN TWO_EVENTS ON O_NORMALLY_HEAT "
                                   "ONE_STAGE 20 1 -1.06 COMFORT ON"},
        Sample{"UCPTdaySched", "480 1020 0 1439"}, Sample{"UNVT_model_info2#US", "12 1.3"},
        Sample{"SNVT_hvac_type", "HVT_NUL"}, Sample{"SNVT_hvac_type#SI", "HVT_SELF_CONT"},
        Sample{"SNVT_time_sec", "6553.4"}, Sample{"SNVT_time_sec#US", "6553.5"},
        Sample{"INT", "-32768"}, Sample{"SNVT_str_asc", "Floor 1, room 12 (north)"},
        Sample{"SNVT_str_asc", ""}, Sample{"RAW", "00 2A FF"}));

TEST(FormatUnits, SetpointsConvertBetweenUnitSystems) {
    EXPECT_EQ(convert("SNVT_temp_setpt#US", QStringLiteral("72,72,72,72,72,72"), "SNVT_temp_setpt"),
              QStringLiteral("22.22,22.22,22.22,22.22,22.22,22.22"));
    EXPECT_EQ(convert("SNVT_temp_setpt#SI", QStringLiteral("0,100,-40,20.5,-17.78,37"),
                      "SNVT_temp_setpt#US"),
              QStringLiteral("32.00,212.00,-40.00,68.90,0.00,98.60"));
}

TEST(FormatUnits, MakersTemperaturesScaleAndOffsetDifferencesOnlyScale) {
    const QString text = withItem(Cfg1Us, 7, "72");
    const QString metric = convert("UNVT_cfg_1_rtu_hp#US", text, "UNVT_cfg_1_rtu_hp#SI");
    EXPECT_EQ(item(metric, 7), QStringLiteral("22.22"));
    EXPECT_EQ(item(metric, 11), QStringLiteral("-2.78"));
    EXPECT_EQ(item(metric, 13), QStringLiteral("1.11"));
    EXPECT_EQ(
        item(convert("UNVT_cfg_1_rtu_hp#US", withItem(Cfg1Us, 8, "32"), "UNVT_cfg_1_rtu_hp#SI"), 8),
        QStringLiteral("0")); // not "-0"
    EXPECT_EQ(convert("UNVT_cfg_1_rtu_hp#SI", metric, "UNVT_cfg_1_rtu_hp#US"), text);
}

TEST(FormatUnits, DeadbandListsOfBothUnitSystemsAreHeldExactly) {
    const char* imperial[] = {"2", "3", "4"};
    const char* imperialInMetric[] = {"1.11", "1.67", "2.22"};
    const char* metric[] = {"1", "1.5", "2"};
    const char* metricInImperial[] = {"1.8", "2.7", "3.6"};
    for (int i = 0; i < 3; ++i) {
        const QString fromUs = convert("UNVT_cfg_1_rtu_hp#US", withItem(Cfg1Us, 13, imperial[i]),
                                       "UNVT_cfg_1_rtu_hp#SI");
        EXPECT_EQ(item(fromUs, 13), QString::fromUtf8(imperialInMetric[i]));
        EXPECT_EQ(item(convert("UNVT_cfg_1_rtu_hp#SI", fromUs, "UNVT_cfg_1_rtu_hp#US"), 13),
                  QString::fromUtf8(imperial[i]));
        EXPECT_EQ(item(convert("UNVT_cfg_1_rtu_hp#SI", withItem(Cfg1Si, 13, metric[i]),
                               "UNVT_cfg_1_rtu_hp#US"),
                       13),
                  QString::fromUtf8(metricInImperial[i]));
    }
}

TEST(FormatUnits, ValuesReadInEitherUnitSystemAreWrittenBackUnchanged) {
    for (int value = -2000; value <= 2000; value += 7) {
        QByteArray word;
        word.append(static_cast<char>((value >> 8) & 0xFF)).append(static_cast<char>(value & 0xFF));
        const QByteArray general = QByteArray(8, '\0') + word + word + QByteArray(2, '\0');
        for (const char* suffix : {"#US", "#SI"}) {
            const QString hp = QStringLiteral("UNVT_cfg_2_hp") + QLatin1String(suffix);
            const QString setpoints = QStringLiteral("SNVT_temp_setpt") + QLatin1String(suffix);
            EXPECT_EQ(FormatEngine::parse(hp, FormatEngine::format(hp, general)), general)
                << value << suffix;
            EXPECT_EQ(
                FormatEngine::parse(setpoints, FormatEngine::format(setpoints, word.repeated(6))),
                word.repeated(6))
                << value << suffix;
        }
    }
}

TEST(FormatUnits, ExtraDecimalsAreRoundedHalfAwayFromZero) {
    EXPECT_EQ(item(convert("UNVT_cfg_1_rtu_hp#US", withItem(Cfg1Us, 9, "-14.975"),
                           "UNVT_cfg_1_rtu_hp#US"),
                   9),
              QStringLiteral("-15"));
    EXPECT_EQ(convert("SNVT_temp_setpt#SI", QStringLiteral("37.45,0,0,4.555,0,-0.005"),
                      "SNVT_temp_setpt#SI"),
              QStringLiteral("37.45,0.00,0.00,4.56,0.00,-0.01"));
    EXPECT_EQ(convert("SNVT_time_sec", QStringLiteral("12.34"), "SNVT_time_sec"),
              QStringLiteral("12.3"));
}

TEST(FormatLayout, BytesAreBigEndianAtTheirOffsets) {
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_temp_setpt"),
                                  QStringLiteral("22.22,-0.01,0,0,0,327.67")),
              QByteArray::fromHex("08ae ffff 0000 0000 0000 7fff"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_hvac_type"), QStringLiteral("HVT_NUL")),
              QByteArray::fromHex("ff"));
    EXPECT_EQ(
        FormatEngine::parse(QStringLiteral("UCPTdaySched"), QStringLiteral("480 1020 0 1439")),
        QByteArray::fromHex("01e0 03fc 0000 059f"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_str_asc"), QStringLiteral("Hi")),
              QByteArray("Hi") + QByteArray(29, '\0'));
    EXPECT_EQ(
        FormatEngine::parse(QStringLiteral("UNVT_cfg_1_rtu_hp#US"), QString::fromUtf8(Cfg1Us)),
        QByteArray::fromHex(
            "03e8 01 05 0a 0c 08 04 0384 021c ff6a 03b6 ffce 0032 0014 02 01 00 02 08 01 00 01"));
    const QByteArray heatPump =
        FormatEngine::parse(QStringLiteral("UNVT_cfg_2_hp#US"),
                            QStringLiteral("SERVICE FAN_LOCKOUT NORMALLY_CLOSED FOUR_EVENTS OFF "
                                           "B_NORMALLY_COOL TWO_STAGES 50 34 -40 ECONOMY ON"));
    EXPECT_EQ(heatPump, QByteArray::fromHex("04 05 01 01 01 01 01 32 0154 fe70 01 00"));
    // The rooftop form reads the same bytes with its own names for items 5 and 10.
    EXPECT_EQ(FormatEngine::format(QStringLiteral("UNVT_cfg_2_rtu#US"), heatPump),
              QStringLiteral("SERVICE FAN_LOCKOUT NORMALLY_CLOSED FOUR_EVENTS OFF TWO_STAGES "
                             "TWO_STAGES 50 34 -40 OFF ON"));
}

TEST(FormatRejects, TextTheTypeCannotHold) {
    const Sample cases[] = {
        // wrong number of items
        {"SNVT_temp_setpt#SI", "22,24,28,20,18"},
        {"UCPTdaySched", "480 1020 0 0 0"},
        {"UCPTdaySched", "480 1020 0"},
        // not a number
        {"SNVT_temp_setpt#SI", "22,24,28,20,18,abc"},
        {"SNVT_temp_setpt#SI", "22,24,28,20,18,inf"},
        {"INT", "1.5"},
        {"INT", "0x10"},
        {"INT", ""},
        {"UNVT_model_info2", "12 1.-3"},
        // out of range
        {"SNVT_temp_setpt#SI", "327.68,0,0,0,0,0"},
        {"UCPTdaySched", "1440 0 0 0"},
        {"UCPTdaySched", "-1 0 0 0"},
        {"SNVT_time_sec", "6553.6"},
        {"INT", "32768"},
        {"UNVT_model_info2", "256 1.0"},
        {"SNVT_str_asc", "1234567890123456789012345678901"},
        {"SNVT_str_asc", "caf\xc3\xa9"},
        // unknown enumeration text
        {"SNVT_hvac_type", "HVT_UNKNOWN"},
        {"UNVT_cfg_2_rtu#US",
         "NONE NONE NORMALLY_OPEN TWO_EVENTS ON O_NORMALLY_HEAT ONE_STAGE 20 55 60 ON ON"},
        // bad raw text, unknown format or unit system
        {"RAW", "0"},
        {"RAW", "+1"},
        {"SNVT_nothing", "1"},
        {"INT#UK", "1"},
    };
    for (const Sample& sample : cases) {
        EXPECT_EQ(parseFailure(QString::fromUtf8(sample.spec), QString::fromUtf8(sample.text)),
                  FormatFailed)
            << sample.spec << " \"" << sample.text << '"';
    }
    const std::pair<int, const char*> cfg1Cases[] = {
        {0, "12.5"}, {0, "1e3"},    {7, "1,000"}, {0, "1001"}, {1, "0"},      {5, "9"},
        {6, "5"},    {7, "3276.8"}, {13, "5"},    {13, "1.7"}, {14, "smart"}, {21, "SCROLL"}};
    for (const auto& [index, text] : cfg1Cases) {
        EXPECT_EQ(
            parseFailure(QStringLiteral("UNVT_cfg_1_rtu_hp#US"), withItem(Cfg1Us, index, text)),
            FormatFailed)
            << index << " \"" << text << '"';
    }
}

TEST(FormatRejects, RawValuesTheTypeDoesNotDefine) {
    const std::pair<const char*, QByteArray> cases[] = {
        {"UNVT_cfg_1_rtu_hp#US", QByteArray(29, '\0')},
        {"SNVT_hvac_type", QByteArray::fromHex("0a")},
        {"UCPTdaySched", QByteArray::fromHex("05a0 0000 0000 0000")},
        {"SNVT_str_asc", QByteArray(31, 'x')},
        {"SNVT_str_asc", QByteArray("\x07") + QByteArray(30, '\0')},
    };
    for (const auto& [spec, raw] : cases) {
        try {
            FormatEngine::format(QString::fromUtf8(spec), raw);
            ADD_FAILURE() << spec << " formatted " << raw.toHex().constData();
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), FormatFailed);
        }
    }
}

TEST(FormatRejects, FailureNamesTheItemAndWhatItHolds) {
    try {
        FormatEngine::parse(QStringLiteral("UNVT_cfg_1_rtu_hp#US"), withItem(Cfg1Us, 21, "SCROLL"));
        FAIL() << "parse should fail";
    } catch (const Error& error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("UNVT_cfg_1_rtu_hp item 21: \"SCROLL\" is not one of "
                                 "NO_SCROLL, SCROLL_ACTIVE."));
    }
}

// One item at a time ------------------------------------------------------

qint32 exactFailure(const char* spec, int item, const QString& text) {
    try {
        FormatEngine::parseItemExactly(QString::fromUtf8(spec), item, text);
    } catch (const Error& error) {
        return error.number();
    }
    return 0;
}

TEST(FormatItemsExactly, OnlyTextTheDeviceHoldsAsGivenIsTaken) {
    const std::tuple<const char*, int, QString> refused[] = {
        // a number written otherwise than the device writes it
        {"UNVT_cfg_1_rtu_hp#US", 0, "1000.0"},
        {"UNVT_cfg_1_rtu_hp#US", 0, "+5"},
        {"SNVT_temp_setpt#US", 0, " 70"},
        // between the steps of the units the value is kept in
        {"UNVT_cfg_1_rtu_hp#US", 1, "2.3"},
        {"SNVT_temp_setpt#SI", 3, "21.555"},
        {"UNVT_cfg_1_rtu_hp#US", 7, "85.25"},
        {"SNVT_str_asc", 0, QStringLiteral("Room") + QChar(0) + QStringLiteral("1")},
        // an item the format does not have
        {"SNVT_temp_setpt#US", 6, "70"},
    };
    for (const auto& [spec, item, text] : refused)
        EXPECT_EQ(exactFailure(spec, item, text), FormatFailed)
            << spec << " " << item << " \"" << text.toStdString() << '"';
    const std::tuple<const char*, int, QString> taken[] = {
        {"UNVT_cfg_1_rtu_hp#US", 0, "5"},    {"UNVT_cfg_1_rtu_hp#US", 1, "2.50"},
        {"UNVT_cfg_1_rtu_hp#SI", 7, "29.4"}, // converted: rounded to the nearest 0.1 degF
        {"SNVT_temp_setpt#US", 3, "74"},     // converted: rounded to the nearest 0.01 degC
        {"SNVT_temp_setpt#SI", 3, "-5.25"},
    };
    for (const auto& [spec, item, text] : taken)
        EXPECT_EQ(exactFailure(spec, item, text), 0)
            << spec << " " << item << " \"" << text.toStdString() << '"';
    // Two texts of one value are held as the same bytes.
    EXPECT_EQ(FormatEngine::parseItemExactly(QStringLiteral("SNVT_temp_setpt#US"), 3, "74"),
              FormatEngine::parseItemExactly(QStringLiteral("SNVT_temp_setpt#US"), 3, "73.99"));
}

TEST(FormatItemsExactly, AnItemsBytesReadInEitherUnitsAsADeviceGivesThem) {
    const auto converted = [](const char* from, int item, const QString& text, const char* to) {
        return FormatEngine::formatItemOf(
            QString::fromUtf8(to), item,
            FormatEngine::parseItemExactly(QString::fromUtf8(from), item, text));
    };
    EXPECT_EQ(converted("SNVT_temp_setpt#US", 3, "74", "SNVT_temp_setpt#US"), "73.99");
    EXPECT_EQ(converted("SNVT_temp_setpt#US", 3, "74", "SNVT_temp_setpt#SI"), "23.33");
    EXPECT_EQ(converted("UNVT_cfg_1_rtu_hp#SI", 7, "29.4", "UNVT_cfg_1_rtu_hp#US"), "84.9");
    EXPECT_EQ(converted("SNVT_str_asc", 0, "Hall A", "SNVT_str_asc"), "Hall A");
    // Another item's bytes are not this item's.
    EXPECT_THROW(
        FormatEngine::formatItemOf(QStringLiteral("SNVT_temp_setpt#US"), 3, QByteArray(5, '\0')),
        Error);
}

} // namespace
