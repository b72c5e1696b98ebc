#include "lns/sim/FormatEngine.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QStringList>
#include <gtest/gtest.h>

using lns::sim::FormatEngine;

namespace {

constexpr qint32 FormatFailed = Error::LnsErrorBase + lns::Code::FormatFailed;

const QString Cfg1Us = QStringLiteral(
    "1000 0.5 5 10 12 8 4 90 54 -15 95 -5 5 2 SMART OFF ON LEVEL_2 8 CELSIUS ON SCROLL_ACTIVE");
const QString Cfg1Si = QStringLiteral(
    "0 24 0 120 0 3 3 32 12 -26 35 -2.5 2.5 1.5 ON ON OFF NO_LOCKOUT 2 FAHRENHEIT OFF NO_SCROLL");

QString convert(const QString& fromSpec, const QString& text, const QString& toSpec) {
    return FormatEngine::format(toSpec, FormatEngine::parse(fromSpec, text));
}

QString withItem(const QString& text, int index, const QString& item) {
    QStringList items = text.split(QLatin1Char(' '));
    items[index] = item;
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

qint32 formatFailure(const QString& spec, const QByteArray& raw) {
    try {
        FormatEngine::format(spec, raw);
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
    const int size = FormatEngine::rawSize(spec);
    if (size >= 0) {
        EXPECT_EQ(raw.size(), size);
    }
    EXPECT_EQ(FormatEngine::format(spec, raw), text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormatInBothUnitSystems, FormatRoundTrip,
    testing::Values(
        Sample{"SNVT_temp_setpt#SI", "22.22,24.00,28.50,20.00,18.00,-5.25"},
        Sample{"SNVT_temp_setpt#US", "71.60,75.20,82.40,68.00,64.40,60.80"},
        Sample{"SNVT_temp_setpt#US", "72.00,72.00,72.00,72.00,72.00,72.00"},
        Sample{"SNVT_temp_setpt", "-327.68,327.67,0.00,0.01,-0.01,100.00"},
        Sample{"UNVT_cfg_1_rtu_hp#US",
               "1000 0.5 5 10 12 8 4 90 54 -15 95 -5 5 2 SMART OFF ON LEVEL_2 8 CELSIUS ON "
               "SCROLL_ACTIVE"},
        Sample{"UNVT_cfg_1_rtu_hp#SI",
               "0 24 0 120 0 3 3 32 12 -26 35 -2.5 2.5 1.5 ON ON OFF NO_LOCKOUT 2 FAHRENHEIT OFF "
               "NO_SCROLL"},
        Sample{"UNVT_cfg_1_rtu_hp#US",
               "1 7.5 1 60 3 5 3 99.9 53.7 -40 120 0.1 -1.1 4 AUTO ON OFF LEVEL_1 5 "
               "FAHRENHEIT ON NO_SCROLL"},
        Sample{"UNVT_cfg_1_rtu_hp#SI",
               "1 7.5 1 60 3 5 3 37.5 12.06 -40 48.94 0.06 -1 2.22 AUTO ON OFF LEVEL_1 5 "
               "FAHRENHEIT ON NO_SCROLL"},
        Sample{"UNVT_cfg_2_rtu#US", "FAN_LOCKOUT NONE NORMALLY_CLOSED FOUR_EVENTS OFF TWO_STAGES "
                                    "ONE_STAGE 100 55 60 OFF ON"},
        Sample{
            "UNVT_cfg_2_rtu#SI",
            "REM_NSB SERVICE NORMALLY_OPEN TWO_EVENTS ON ONE_STAGE TWO_STAGES 0 -10 21.5 ON OFF"},
        Sample{"UNVT_cfg_2_hp#US", "NONE FILTER NORMALLY_OPEN TWO_EVENTS ON B_NORMALLY_COOL "
                                   "TWO_STAGES 20 34 -40 ECONOMY OFF"},
        Sample{"UNVT_cfg_2_hp#SI", "REM_OVR NONE NORMALLY_OPEN TWO_EVENTS ON O_NORMALLY_HEAT "
                                   "ONE_STAGE 20 1 -1.06 COMFORT ON"},
        Sample{"UCPTdaySched", "480 1020 0 1439"}, Sample{"UCPTdaySched#US", "0 0 0 0"},
        Sample{"UNVT_model_info2", "12 1.3"}, Sample{"UNVT_model_info2#SI", "255 0.255"},
        Sample{"SNVT_hvac_type", "HVT_NUL"}, Sample{"SNVT_hvac_type", "HVT_HEAT_PUMP"},
        Sample{"SNVT_hvac_type#US", "HVT_SELF_CONT"}, Sample{"SNVT_time_sec", "0.0"},
        Sample{"SNVT_time_sec", "6553.4"}, Sample{"SNVT_time_sec", "6553.5"},
        Sample{"SNVT_time_sec#US", "60.0"}, Sample{"INT", "-32768"}, Sample{"INT", "32767"},
        Sample{"INT#SI", "0"}, Sample{"SNVT_str_asc", "Floor 1, room 12 (north)"},
        Sample{"SNVT_str_asc", ""}, Sample{"SNVT_str_asc", "123456789012345678901234567890"},
        Sample{"RAW", "00 2A FF"}, Sample{"RAW", ""}));

TEST(FormatUnits, SetpointsConvertBetweenUnitSystems) {
    const QString us = QStringLiteral("72.00,72.00,72.00,72.00,72.00,72.00");
    EXPECT_EQ(
        convert(QStringLiteral("SNVT_temp_setpt#US"), us, QStringLiteral("SNVT_temp_setpt#SI")),
        QStringLiteral("22.22,22.22,22.22,22.22,22.22,22.22"));
    EXPECT_EQ(convert(QStringLiteral("SNVT_temp_setpt#SI"),
                      QStringLiteral("0,100,-40,20.5,-17.78,37"),
                      QStringLiteral("SNVT_temp_setpt#US")),
              QStringLiteral("32.00,212.00,-40.00,68.90,0.00,98.60"));
    EXPECT_EQ(convert(QStringLiteral("SNVT_temp_setpt#US"), us, QStringLiteral("SNVT_temp_setpt")),
              QStringLiteral("22.22,22.22,22.22,22.22,22.22,22.22"));
}

TEST(FormatUnits, MakersTemperaturesAndDifferencesConvert) {
    const QString us = QStringLiteral("UNVT_cfg_1_rtu_hp#US");
    const QString si = QStringLiteral("UNVT_cfg_1_rtu_hp#SI");
    const QString text =
        withItem(withItem(Cfg1Us, 7, QStringLiteral("72")), 8, QStringLiteral("32"));
    const QString metric = convert(us, text, si);
    EXPECT_EQ(item(metric, 7), QStringLiteral("22.22"));
    EXPECT_EQ(item(metric, 8), QStringLiteral("0"));      // not "-0"
    EXPECT_EQ(item(metric, 11), QStringLiteral("-2.78")); // a difference only scales
    EXPECT_EQ(item(metric, 13), QStringLiteral("1.11"));
    EXPECT_EQ(convert(si, metric, us), text);

    const QString rooftop = QStringLiteral(
        "NONE NONE NORMALLY_OPEN TWO_EVENTS ON ONE_STAGE ONE_STAGE 20 55 -13.5 ON ON");
    EXPECT_EQ(item(convert(QStringLiteral("UNVT_cfg_2_rtu#US"), rooftop,
                           QStringLiteral("UNVT_cfg_2_rtu#SI")),
                   9),
              QStringLiteral("-25.28"));
}

TEST(FormatUnits, DeadbandListsOfBothUnitSystemsAreHeldExactly) {
    const QString us = QStringLiteral("UNVT_cfg_1_rtu_hp#US");
    const QString si = QStringLiteral("UNVT_cfg_1_rtu_hp#SI");
    const QStringList imperial = {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    const QStringList metric = {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
    const QStringList imperialInMetric = {QStringLiteral("1.11"), QStringLiteral("1.67"),
                                          QStringLiteral("2.22")};
    const QStringList metricInImperial = {QStringLiteral("1.8"), QStringLiteral("2.7"),
                                          QStringLiteral("3.6")};
    for (int i = 0; i < 3; ++i) {
        const QString fromUs = convert(us, withItem(Cfg1Us, 13, imperial[i]), si);
        EXPECT_EQ(item(fromUs, 13), imperialInMetric[i]);
        EXPECT_EQ(item(convert(si, fromUs, us), 13), imperial[i]);
        EXPECT_EQ(item(convert(si, withItem(Cfg1Si, 13, metric[i]), us), 13), metricInImperial[i]);
    }
}

TEST(FormatUnits, ValuesReadInEitherUnitSystemAreWrittenBackUnchanged) {
    const QString hp = QStringLiteral("UNVT_cfg_2_hp");
    const QString setpoints = QStringLiteral("SNVT_temp_setpt");
    for (int value = -2000; value <= 2000; value += 7) {
        QByteArray word;
        word.append(static_cast<char>((value >> 8) & 0xFF)).append(static_cast<char>(value & 0xFF));
        const QByteArray general = QByteArray(8, '\0') + word + word + QByteArray(2, '\0');
        const QByteArray temperatures = word.repeated(6);
        for (const QString& suffix : {QStringLiteral("#US"), QStringLiteral("#SI")}) {
            EXPECT_EQ(FormatEngine::parse(hp + suffix, FormatEngine::format(hp + suffix, general)),
                      general)
                << value << qPrintable(suffix);
            EXPECT_EQ(FormatEngine::parse(setpoints + suffix,
                                          FormatEngine::format(setpoints + suffix, temperatures)),
                      temperatures)
                << value << qPrintable(suffix);
        }
    }
}

TEST(FormatUnits, ExtraDecimalsOfTheWindowAreRounded) {
    const QString us = QStringLiteral("UNVT_cfg_1_rtu_hp#US");
    EXPECT_EQ(item(convert(us, withItem(Cfg1Us, 7, QStringLiteral("99.975")), us), 7),
              QStringLiteral("100"));
    EXPECT_EQ(item(convert(us, withItem(Cfg1Us, 9, QStringLiteral("-14.975")), us), 9),
              QStringLiteral("-15"));
    EXPECT_EQ(convert(QStringLiteral("SNVT_temp_setpt#US"), QStringLiteral("99.975,0,0,40.025,0,0"),
                      QStringLiteral("SNVT_temp_setpt#US")),
              QStringLiteral("99.97,0.00,0.00,40.03,0.00,0.00"));
    EXPECT_EQ(convert(QStringLiteral("SNVT_temp_setpt#SI"), QStringLiteral("37.45,0,0,4.55,0,0"),
                      QStringLiteral("SNVT_temp_setpt#SI")),
              QStringLiteral("37.45,0.00,0.00,4.55,0.00,0.00"));
    EXPECT_EQ(convert(QStringLiteral("SNVT_time_sec"), QStringLiteral("12.34"),
                      QStringLiteral("SNVT_time_sec")),
              QStringLiteral("12.3"));
}

TEST(FormatLayout, BytesAreBigEndianAtTheirOffsets) {
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_temp_setpt"),
                                  QStringLiteral("22.22,-0.01,0,0,0,327.67")),
              QByteArray::fromHex("08ae ffff 0000 0000 0000 7fff"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_hvac_type"), QStringLiteral("HVT_NUL")),
              QByteArray::fromHex("ff"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_time_sec"), QStringLiteral("6553.4")),
              QByteArray::fromHex("fffe"));
    EXPECT_EQ(
        FormatEngine::parse(QStringLiteral("UCPTdaySched"), QStringLiteral("480 1020 0 1439")),
        QByteArray::fromHex("01e0 03fc 0000 059f"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("UNVT_model_info2"), QStringLiteral("12 1.3")),
              QByteArray::fromHex("0c 01 03"));
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("SNVT_str_asc"), QStringLiteral("Hi")),
              QByteArray("Hi") + QByteArray(29, '\0'));
    const QByteArray cfg1 = FormatEngine::parse(QStringLiteral("UNVT_cfg_1_rtu_hp#US"), Cfg1Us);
    EXPECT_EQ(cfg1.toHex(), QByteArray("03e8"
                                       "01"
                                       "05"
                                       "0a"
                                       "0c"
                                       "08"
                                       "04"
                                       "0384"
                                       "021c"
                                       "ff6a"
                                       "03b6"
                                       "ffce"
                                       "0032"
                                       "0014"
                                       "02"
                                       "01"
                                       "00"
                                       "02"
                                       "08"
                                       "01"
                                       "00"
                                       "01"));
    const QString heatPump = QStringLiteral("SERVICE FAN_LOCKOUT NORMALLY_CLOSED FOUR_EVENTS OFF "
                                            "B_NORMALLY_COOL TWO_STAGES 50 34 -40 ECONOMY OFF");
    EXPECT_EQ(FormatEngine::parse(QStringLiteral("UNVT_cfg_2_hp#US"), heatPump).toHex(),
              QByteArray("04"
                         "05"
                         "01"
                         "01"
                         "01"
                         "01"
                         "01"
                         "32"
                         "0154"
                         "fe70"
                         "01"
                         "01"));
}

TEST(FormatLayout, RooftopAndHeatPumpShareOneRawValue) {
    const QByteArray raw =
        FormatEngine::parse(QStringLiteral("UNVT_cfg_2_hp#US"),
                            QStringLiteral("NONE NONE NORMALLY_OPEN TWO_EVENTS ON B_NORMALLY_COOL "
                                           "ONE_STAGE 20 34 -40 ECONOMY ON"));
    EXPECT_EQ(FormatEngine::format(QStringLiteral("UNVT_cfg_2_rtu#US"), raw),
              QStringLiteral(
                  "NONE NONE NORMALLY_OPEN TWO_EVENTS ON TWO_STAGES ONE_STAGE 20 34 -40 OFF ON"));
}

TEST(FormatRejects, TextTheTypeCannotHold) {
    const QString us = QStringLiteral("UNVT_cfg_1_rtu_hp#US");
    const QList<std::pair<QString, QString>> cases = {
        // wrong number of items
        {QStringLiteral("SNVT_temp_setpt#SI"), QStringLiteral("22,24,28,20,18")},
        {us, Cfg1Us + QStringLiteral(" ON")},
        {us, withItem(Cfg1Us, 3, QStringLiteral("10  "))},
        {QStringLiteral("UCPTdaySched"), QStringLiteral("480 1020 0")},
        {QStringLiteral("UNVT_model_info2"), QStringLiteral("12")},
        // not a number
        {QStringLiteral("SNVT_temp_setpt#SI"), QStringLiteral("22,24,28,20,18,abc")},
        {QStringLiteral("SNVT_temp_setpt#SI"), QStringLiteral("22,24,28,20,18,inf")},
        {QStringLiteral("SNVT_temp_setpt#US"), QStringLiteral("?,?,?,?,?,?")},
        {us, withItem(Cfg1Us, 0, QStringLiteral("12.5"))},
        {us, withItem(Cfg1Us, 0, QStringLiteral("1e3"))},
        {us, withItem(Cfg1Us, 7, QStringLiteral("1,000"))},
        {QStringLiteral("INT"), QStringLiteral("0x10")},
        {QStringLiteral("INT"), QString()},
        {QStringLiteral("SNVT_time_sec"), QStringLiteral("abc")},
        {QStringLiteral("UNVT_model_info2"), QStringLiteral("12 1.-3")},
        {QStringLiteral("UNVT_model_info2"), QStringLiteral("12 1.3.4")},
        // out of range
        {QStringLiteral("SNVT_temp_setpt#SI"), QStringLiteral("327.68,0,0,0,0,0")},
        {QStringLiteral("SNVT_temp_setpt#US"), QStringLiteral("-600,0,0,0,0,0")},
        {us, withItem(Cfg1Us, 0, QStringLiteral("1001"))},
        {us, withItem(Cfg1Us, 1, QStringLiteral("0"))},
        {us, withItem(Cfg1Us, 5, QStringLiteral("9"))},
        {us, withItem(Cfg1Us, 6, QStringLiteral("5"))},
        {us, withItem(Cfg1Us, 7, QStringLiteral("3276.8"))},
        {us, withItem(Cfg1Us, 13, QStringLiteral("5"))},
        {QStringLiteral("UNVT_cfg_1_rtu_hp#SI"), withItem(Cfg1Si, 13, QStringLiteral("2.5"))},
        {QStringLiteral("UCPTdaySched"), QStringLiteral("1440 0 0 0")},
        {QStringLiteral("UCPTdaySched"), QStringLiteral("-1 0 0 0")},
        {QStringLiteral("UNVT_model_info2"), QStringLiteral("256 1.0")},
        {QStringLiteral("SNVT_time_sec"), QStringLiteral("-0.1")},
        {QStringLiteral("SNVT_time_sec"), QStringLiteral("6553.6")},
        {QStringLiteral("INT"), QStringLiteral("32768")},
        {QStringLiteral("SNVT_str_asc"), QStringLiteral("1234567890123456789012345678901")},
        {QStringLiteral("SNVT_str_asc"), QStringLiteral("caf\u00e9")},
        {QStringLiteral("SNVT_str_asc"), QStringLiteral("line\nbreak")},
        // unknown enumeration text
        {us, withItem(Cfg1Us, 14, QStringLiteral("smart"))},
        {QStringLiteral("SNVT_hvac_type"), QStringLiteral("HVT_UNKNOWN")},
        {QStringLiteral("UNVT_cfg_2_rtu#US"),
         QStringLiteral(
             "NONE NONE NORMALLY_OPEN TWO_EVENTS ON O_NORMALLY_HEAT ONE_STAGE 20 55 60 ON ON")},
        {QStringLiteral("UNVT_cfg_2_hp#US"),
         QStringLiteral(
             "NONE NONE NORMALLY_OPEN TWO_EVENTS ON ONE_STAGE ONE_STAGE 20 34 -40 ON ON")},
        // bad raw text, unknown format or unit system
        {QStringLiteral("RAW"), QStringLiteral("0")},
        {QStringLiteral("RAW"), QStringLiteral("GG")},
        {QStringLiteral("RAW"), QStringLiteral("+1")},
        {QStringLiteral("SNVT_nothing"), QStringLiteral("1")},
        {QStringLiteral("INT#UK"), QStringLiteral("1")},
    };
    for (const auto& [spec, text] : cases)
        EXPECT_EQ(parseFailure(spec, text), FormatFailed)
            << qPrintable(spec) << " \"" << qPrintable(text) << '"';
}

TEST(FormatRejects, RawValuesTheTypeDoesNotDefine) {
    const QList<std::pair<QString, QByteArray>> cases = {
        {QStringLiteral("UNVT_cfg_1_rtu_hp#US"), QByteArray(29, '\0')},
        {QStringLiteral("SNVT_temp_setpt"), QByteArray(13, '\0')},
        {QStringLiteral("SNVT_hvac_type"), QByteArray::fromHex("0a")},
        {QStringLiteral("UCPTdaySched"), QByteArray::fromHex("05a0 0000 0000 0000")},
        {QStringLiteral("SNVT_str_asc"), QByteArray(31, 'x')},
        {QStringLiteral("SNVT_str_asc"), QByteArray("\x07") + QByteArray(30, '\0')},
        {QStringLiteral("SNVT_other"), QByteArray(2, '\0')},
    };
    for (const auto& [spec, raw] : cases)
        EXPECT_EQ(formatFailure(spec, raw), FormatFailed)
            << qPrintable(spec) << ' ' << raw.toHex().constData();
}

TEST(FormatRejects, FailureLeavesNoPartialResult) {
    const QString us = QStringLiteral("UNVT_cfg_1_rtu_hp#US");
    try {
        FormatEngine::parse(us, withItem(Cfg1Us, 21, QStringLiteral("SCROLL")));
        FAIL() << "parse should fail";
    } catch (const Error& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("item 21")));
        EXPECT_TRUE(error.description().contains(QStringLiteral("SCROLL_ACTIVE")));
    }
}

TEST(FormatSizes, RawSizesOfEveryFormat) {
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("SNVT_temp_setpt")), 12);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("UNVT_cfg_1_rtu_hp")), 30);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("UNVT_cfg_2_hp")), 14);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("UNVT_cfg_2_rtu#US")), 14);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("UCPTdaySched")), 8);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("UNVT_model_info2")), 3);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("SNVT_hvac_type")), 1);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("SNVT_time_sec")), 2);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("INT")), 2);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("SNVT_str_asc")), 31);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("RAW")), -1);
    EXPECT_EQ(FormatEngine::rawSize(QStringLiteral("SNVT_unknown")), -1);
}

} // namespace
