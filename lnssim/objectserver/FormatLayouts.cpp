// SPDX-License-Identifier: Apache-2.0
#include "objectserver/FormatLayouts.h"

#include <QHash>

namespace lns::sim {

namespace {

using namespace items;

const QStringList OnOff = {QStringLiteral("ON"), QStringLiteral("OFF")};
const QStringList Stages = {QStringLiteral("ONE_STAGE"), QStringLiteral("TWO_STAGES")};

// Six setpoints, each signed 16-bit at 0.01 degC:
// 0-1 occupied_cool, 2-3 standby_cool, 4-5 unoccupied_cool,
// 6-7 occupied_heat, 8-9 standby_heat, 10-11 unoccupied_heat.
StructuredFormat temperatureSetpoints() {
    return {QStringLiteral("SNVT_temp_setpt"), QLatin1Char(','),
            QList<FormatItem>(6, celsiusHundredths())};
}

// Thermostat options, 30 bytes (unsigned bytes unless noted; enumerations
// count from 0 in the order of their names):
//  0-1  password, unsigned 16-bit, 0 to 1000
//  2    unoccupied timer, 0.5 h steps, 1 to 48 (0.5 to 24 h)
//  3    anticycle, minutes 0 to 5
//  4    startup power delay, seconds 10 to 120
//  5    temporary occupied time, hours 0 to 12
//  6    heating cycles per hour, 3 to 8
//  7    cooling cycles per hour, 3 to 4
//  8-9  maximum heating setpoint, signed 16-bit at 0.1 degF
//  10-11 minimum cooling setpoint, signed 16-bit at 0.1 degF
//  12-13 outside-air heating lockout, signed 16-bit at 0.1 degF
//  14-15 outside-air cooling lockout, signed 16-bit at 0.1 degF
//  16-17 room sensor calibration, signed 16-bit difference at 0.1 degF
//  18-19 outside sensor calibration, signed 16-bit difference at 0.1 degF
//  20-21 deadband, signed 16-bit difference at 0.1 degF, 1.8 to 4 degF
//        (so both "2".."4" degF and "1".."2" degC are held)
//  22   fan mode ON, AUTO, SMART
//  23   heating-mode fan control ON, OFF
//  24   fan purge delay ON, OFF
//  25   keypad lockout NO_LOCKOUT, LEVEL_1, LEVEL_2
//  26   proportional band, 2 to 8
//  27   temperature scale FAHRENHEIT, CELSIUS
//  28   frost protection ON, OFF
//  29   menu scroll NO_SCROLL, SCROLL_ACTIVE
StructuredFormat thermostatOptions() {
    return {QStringLiteral("UNVT_cfg_1_rtu_hp"),
            QLatin1Char(' '),
            {integer(2, 0, 1000),
             stepped(1, 0.5, 1, 1, 48),
             integer(1, 0, 5),
             integer(1, 10, 120),
             integer(1, 0, 12),
             integer(1, 3, 8),
             integer(1, 3, 4),
             fahrenheitTenths(),
             fahrenheitTenths(),
             fahrenheitTenths(),
             fahrenheitTenths(),
             fahrenheitTenthsDifference(-32768, 32767),
             fahrenheitTenthsDifference(-32768, 32767),
             fahrenheitTenthsDifference(18, 40),
             enumeration({QStringLiteral("ON"), QStringLiteral("AUTO"), QStringLiteral("SMART")}),
             enumeration(OnOff),
             enumeration(OnOff),
             enumeration({QStringLiteral("NO_LOCKOUT"), QStringLiteral("LEVEL_1"),
                          QStringLiteral("LEVEL_2")}),
             integer(1, 2, 8),
             enumeration({QStringLiteral("FAHRENHEIT"), QStringLiteral("CELSIUS")}),
             enumeration(OnOff),
             enumeration({QStringLiteral("NO_SCROLL"), QStringLiteral("SCROLL_ACTIVE")})}};
}

// General options, 14 bytes shared by the rooftop and the heat-pump form
// (unsigned bytes; enumerations count from 0 in the order of their names):
//  0    digital input 1 NONE, REM_NSB, REM_OVR, FILTER, SERVICE, FAN_LOCKOUT
//  1    digital input 2, same names
//  2    auxiliary contact NORMALLY_OPEN, NORMALLY_CLOSED
//  3    number of events TWO_EVENTS, FOUR_EVENTS
//  4    progressive recovery ON, OFF
//  5    rooftop: heating stages ONE_STAGE, TWO_STAGES;
//       heat pump: reversing valve O_NORMALLY_HEAT, B_NORMALLY_COOL
//  6    cooling or heat-pump stages ONE_STAGE, TWO_STAGES
//  7    economizer minimum position, percent 0 to 100
//  8-9  rooftop: economizer changeover setpoint; heat pump: high balance
//       point; signed 16-bit at 0.1 degF
//  10-11 rooftop: mixed air setpoint; heat pump: low balance point;
//       signed 16-bit at 0.1 degF
//  12   rooftop: mechanical cooling ON, OFF; heat pump: comfort mode COMFORT, ECONOMY
//  13   compressor/auxiliary interlock ON, OFF
StructuredFormat generalOptions(const QString& name, const QStringList& item5Names,
                                const QStringList& item10Names) {
    const QStringList digitalInput = {QStringLiteral("NONE"),    QStringLiteral("REM_NSB"),
                                      QStringLiteral("REM_OVR"), QStringLiteral("FILTER"),
                                      QStringLiteral("SERVICE"), QStringLiteral("FAN_LOCKOUT")};
    return {name,
            QLatin1Char(' '),
            {enumeration(digitalInput), enumeration(digitalInput),
             enumeration({QStringLiteral("NORMALLY_OPEN"), QStringLiteral("NORMALLY_CLOSED")}),
             enumeration({QStringLiteral("TWO_EVENTS"), QStringLiteral("FOUR_EVENTS")}),
             enumeration(OnOff), enumeration(item5Names), enumeration(Stages), integer(1, 0, 100),
             fahrenheitTenths(), fahrenheitTenths(), enumeration(item10Names), enumeration(OnOff)}};
}

// One day of the schedule: four unsigned 16-bit times in minutes after
// midnight, 0 to 1439: 0-1 begin and 2-3 end of period 1, 4-5 begin and
// 6-7 end of period 2.
StructuredFormat daySchedule() {
    return {QStringLiteral("UCPTdaySched"), QLatin1Char(' '),
            QList<FormatItem>(4, integer(2, 0, 1439))};
}

// Model and version, 3 bytes: 0 model number (unsigned), 1 major and
// 2 minor version (unsigned), the version shown "major.minor".
StructuredFormat modelInfo() {
    return {QStringLiteral("UNVT_model_info2"), QLatin1Char(' '), {integer(1, 0, 255), version()}};
}

// One signed byte, HVT_NUL = -1 up to HVT_SELF_CONT = 9.
StructuredFormat hvacType() {
    return {QStringLiteral("SNVT_hvac_type"),
            QLatin1Char(' '),
            {enumeration({QStringLiteral("HVT_NUL"), QStringLiteral("HVT_GENERIC"),
                          QStringLiteral("HVT_FAN_COIL"), QStringLiteral("HVT_VAV"),
                          QStringLiteral("HVT_HEAT_PUMP"), QStringLiteral("HVT_ROOFTOP"),
                          QStringLiteral("HVT_UNIT_VENT"), QStringLiteral("HVT_CHILL_CEIL"),
                          QStringLiteral("HVT_RADIATOR"), QStringLiteral("HVT_AHU"),
                          QStringLiteral("HVT_SELF_CONT")},
                         -1)}};
}

// Unsigned 16-bit at 0.1 s, shown with one decimal; 65535 (6553.5) marks
// an invalid time and is held as such.
StructuredFormat timeInSeconds() {
    FormatItem seconds = stepped(2, 0.1, 1, 0, 65535);
    seconds.fixedDecimals = true;
    return {QStringLiteral("SNVT_time_sec"), QLatin1Char(' '), {seconds}};
}

// Signed 16-bit integer.
StructuredFormat plainInteger() {
    return {QStringLiteral("INT"), QLatin1Char(' '), {integer(2, -32768, 32767)}};
}

QHash<QString, StructuredFormat> buildFormats() {
    const QStringList rooftopItem10 = OnOff;
    const QStringList heatPumpItem5 = {QStringLiteral("O_NORMALLY_HEAT"),
                                       QStringLiteral("B_NORMALLY_COOL")};
    const QStringList heatPumpItem10 = {QStringLiteral("COMFORT"), QStringLiteral("ECONOMY")};
    QHash<QString, StructuredFormat> formats;
    for (const StructuredFormat& format :
         {temperatureSetpoints(), thermostatOptions(),
          generalOptions(QStringLiteral("UNVT_cfg_2_rtu"), Stages, rooftopItem10),
          generalOptions(QStringLiteral("UNVT_cfg_2_hp"), heatPumpItem5, heatPumpItem10),
          daySchedule(), modelInfo(), hvacType(), timeInSeconds(), plainInteger()}) {
        formats.insert(format.name, format);
    }
    return formats;
}

} // namespace

int StructuredFormat::rawSize() const {
    int size = 0;
    for (const FormatItem& item : items)
        size += item.size;
    return size;
}

const StructuredFormat* findStructuredFormat(const QString& name) {
    static const QHash<QString, StructuredFormat> formats = buildFormats();
    const auto found = formats.constFind(name);
    return found == formats.constEnd() ? nullptr : &found.value();
}

} // namespace lns::sim
