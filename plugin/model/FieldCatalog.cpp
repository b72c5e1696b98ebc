// SPDX-License-Identifier: Apache-2.0
#include "model/FieldCatalog.h"

#include "model/FieldControls.h"
#include "model/Specific.h"

namespace {

enum ControlKind { TextBox, ComboBox, Debug, ModelLabel, HvacTypeLabel };

struct ControlRef {
    ControlKind kind;
    int index;
};

struct LimitTexts {
    const char* min;
    const char* max;
};

constexpr LimitTexts NoLimits{nullptr, nullptr};

struct FieldRow {
    const char* name;
    const char* description;
    ControlRef control;
    qint16 item;
    const char* valueKey;
    LimitTexts imperial;
    LimitTexts metric;
    bool offsetValue;
    double roundingStep; // 0: not rounded
};

// Catalog order is the order in which the window walks the fields.
// clang-format off
constexpr FieldRow Rows[] = {
    {"occ_cool_setpts", "Occupied cool setpoint", {TextBox, 2}, 0, "nciSetPts", {"54", "100"}, {"12", "37.5"}, true, 0.5},
    {"unocc_cool_setpts", "Unoccupied cool setpoint", {TextBox, 3}, 2, "nciSetPts", {"54", "100"}, {"12", "37.5"}, true, 0.5},
    {"occ_heat_setpts", "Occupied heat setpoint", {TextBox, 0}, 3, "nciSetPts", {"40", "90"}, {"4.5", "32"}, true, 0.5},
    {"unocc_heat_setpts", "Unoccupied heat setpoint", {TextBox, 1}, 5, "nciSetPts", {"40", "90"}, {"4.5", "32"}, true, 0.5},
    {"max_heat", "Maximum heating setpoint limit", {TextBox, 4}, 7, "nciCfg1RtuHp", {"40", "90"}, {"4.5", "32"}, true, 0.5},
    {"outside_air_heat_lockout", "Outside air temperature heating lockout", {TextBox, 5}, 9, "nciCfg1RtuHp", {"-15", "120"}, {"-26", "49"}, true, 0.5},
    {"min_cool_setpts", "Minimum cooling setpoint", {TextBox, 6}, 8, "nciCfg1RtuHp", {"54", "100"}, {"12", "37.5"}, true, 0.5},
    {"outside_air_cool_lockout", "Outside air temperature cooling lockout", {TextBox, 7}, 10, "nciCfg1RtuHp", {"-40", "95"}, {"-40", "35"}, true, 0.5},
    {"heat_cph", "Heating output cycles per hour", {ComboBox, 0}, 5, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"cool_cph", "Cooling output cycles per hour", {ComboBox, 1}, 6, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"dead_band", "Deadband", {ComboBox, 2}, 13, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"prop_band", "Proportional band", {ComboBox, 23}, 18, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"di_1_config", "Digital Input #1", {ComboBox, 3}, 0, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"di_2_config", "Digital Input #2", {ComboBox, 4}, 1, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"os_cal", "Outside air sensor calibration", {TextBox, 8}, 12, "nciCfg1RtuHp", {"-5", "5"}, {"-2.5", "2.5"}, true, 0.5},
    {"rs_cal", "Room sensor calibration", {TextBox, 9}, 11, "nciCfg1RtuHp", {"-5", "5"}, {"-2.5", "2.5"}, true, 0.5},
    {"power_delay", "Startup power delay", {TextBox, 10}, 3, "nciCfg1RtuHp", {"10", "120"}, {"10", "120"}, false, 0},
    {"anticycle", "Anticycle", {ComboBox, 5}, 2, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"Aux_cont", "Auxiliary contact", {ComboBox, 6}, 2, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"heat_stage", "Heating stages", {ComboBox, 7}, 5, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"cool_or_hp_stages", "Cooling or heat pumpstages", {ComboBox, 8}, 6, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"heating_mode_fan_cont", "Fan control", {ComboBox, 9}, 15, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"fan_purge_del", "Fan purge delay", {ComboBox, 10}, 16, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"frost_prot", "Frost protection", {ComboBox, 11}, 20, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"temp_occ_time", "Temporary occupied time", {ComboBox, 13}, 4, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"Unocc_timer", "Unoccupied timer", {TextBox, 53}, 1, "nciCfg1RtuHp", {"0.5", "24"}, {"0.5", "24"}, false, 0.5},
    {"prog_rec", "Progressive recovery", {ComboBox, 14}, 4, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"rem_lock", "Keypad lockout", {ComboBox, 15}, 17, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"occ_1_monday", "Begining of occupation periode 1 (Monday)", {TextBox, 11}, 0, "nciDaySched0", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_monday", "End of occupation periode 1 (Monday)", {TextBox, 12}, 1, "nciDaySched0", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_monday", "Begining of occupation periode 2 (Monday)", {TextBox, 13}, 2, "nciDaySched0", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_monday", "End of occupation periode 2 (Monday)", {TextBox, 14}, 3, "nciDaySched0", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_tuesday", "Begining of occupation periode 1 (Tuesday)", {TextBox, 15}, 0, "nciDaySched1", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_tuesday", "End of occupation periode 1 (Tuesday)", {TextBox, 16}, 1, "nciDaySched1", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_tuesday", "Begining of occupation periode 2 (Tuesday)", {TextBox, 17}, 2, "nciDaySched1", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_tuesday", "End of occupation periode 2 (Tuesday)", {TextBox, 18}, 3, "nciDaySched1", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_wednesday", "Begining of occupation periode 1 (Wednesday)", {TextBox, 19}, 0, "nciDaySched2", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_wednesday", "End of occupation periode 1 (Wednesday)", {TextBox, 20}, 1, "nciDaySched2", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_wednesday", "Begining of occupation periode 2 (Wednesday)", {TextBox, 21}, 2, "nciDaySched2", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_wednesday", "End of occupation periode 2 (Wednesday)", {TextBox, 22}, 3, "nciDaySched2", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_thusrday", "Begining of occupation periode 1 (Thursday)", {TextBox, 23}, 0, "nciDaySched3", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_thursday", "End of occupation periode 1 (Thursday)", {TextBox, 24}, 1, "nciDaySched3", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_thursday", "Begining of occupation periode 2 (Thursday)", {TextBox, 25}, 2, "nciDaySched3", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_thursday", "End of occupation periode 2 (Thursday)", {TextBox, 26}, 3, "nciDaySched3", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_friday", "Begining of occupation periode 1 (Friday)", {TextBox, 27}, 0, "nciDaySched4", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_friday", "End of occupation periode 1 (Friday)", {TextBox, 28}, 1, "nciDaySched4", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_friday", "Begin of occupation periode 2 (Friday)", {TextBox, 29}, 2, "nciDaySched4", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_friday", "End of occupation periode 2 (Friday)", {TextBox, 30}, 3, "nciDaySched4", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_saturday", "Begining of occupation periode 1 (Saturday)", {TextBox, 31}, 0, "nciDaySched5", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_saturday", "End of occupation periode 1 (Saturday)", {TextBox, 32}, 1, "nciDaySched5", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_saturday", "Begining of occupation periode 2 (Saturday)", {TextBox, 33}, 2, "nciDaySched5", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_saturday", "End of occupation periode 2 (Saturday)", {TextBox, 34}, 3, "nciDaySched5", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_1_sunday", "Begining of occupation periode 1 (Sunday)", {TextBox, 35}, 0, "nciDaySched6", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_1_sunday", "End of occupation periode 1 (Sunday)", {TextBox, 36}, 1, "nciDaySched6", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"occ_2_sunday", "Begining of occupation periode 2 (Sunday)", {TextBox, 37}, 2, "nciDaySched6", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"unocc_2_sunday", "End of occupation periode 2 (Sunday)", {TextBox, 38}, 3, "nciDaySched6", {"0", "1439"}, {"0", "1439"}, false, 0},
    {"nb_of_events", "Number of events", {ComboBox, 16}, 3, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"ouput_heartbeat", "Output Heartbeat", {TextBox, 39}, 0, "nciSndHrtBt", {"0", "6553.4"}, {"0", "6553.4"}, false, 0},
    {"Trottle", "Trottle", {TextBox, 40}, 0, "nciMinOutTm", {"0", "6553.4"}, {"0", "6553.4"}, false, 0},
    {"input_heartbeat", "Input Heartbeat", {TextBox, 41}, 0, "nciRcvHrtBt", {"0", "6553.4"}, {"0", "6553.4"}, false, 0},
    {"fan_cont", "Fan control", {ComboBox, 9}, 15, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"fan_del", "Fan delay", {ComboBox, 10}, 16, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"password", "Password", {TextBox, 52}, 0, "nciCfg1RtuHp", {"0", "1000"}, {"0", "1000"}, false, 0},
    {"temp_units", "Temperature units", {ComboBox, 12}, 19, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"fan_mode", "Fan mode", {ComboBox, 22}, 14, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"menu_scroll", "Menu scroll", {ComboBox, 21}, 21, "nciCfg1RtuHp", NoLimits, NoLimits, false, 0},
    {"econo_chng_setpt", "Economizer changeover setpoint", {TextBox, 42}, 8, "nciCfg2RtuHp", {"14", "70"}, {"-10", "21"}, true, 0.5},
    {"econo_min_pos", "Economizer minimum position", {TextBox, 43}, 7, "nciCfg2RtuHp", {"0", "100"}, {"0", "100"}, false, 0},
    {"mix_air_setpts", "Mixed air setpoint", {TextBox, 44}, 9, "nciCfg2RtuHp", {"50", "90"}, {"10", "32"}, true, 0.5},
    {"mech_cool_enabled", "Mechanical cooling enabled", {ComboBox, 17}, 10, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"high_balance_point", "High balance point", {TextBox, 45}, 8, "nciCfg2RtuHp", {"34", "90"}, {"1", "32"}, true, 0.5},
    {"low_balance_point", "Low balance point", {TextBox, 46}, 9, "nciCfg2RtuHp", {"-40", "30"}, {"-40", "-1"}, true, 0.5},
    {"rev_valve_cfg", "Reversing valve configuration", {ComboBox, 18}, 5, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"comfort_mode", "Comfort mode", {ComboBox, 19}, 10, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"comp_aux_interlock", "Compressor Auxiliary interlock", {ComboBox, 20}, 11, "nciCfg2RtuHp", NoLimits, NoLimits, false, 0},
    {"nciHvacType", "nciHvacType", {HvacTypeLabel, 0}, 0, "nciHvacType", NoLimits, NoLimits, false, 0},
    {"nciMinVer", "nciMinVer", {TextBox, 47}, 0, "nciMinVer", NoLimits, NoLimits, false, 0},
    {"nciMajVer", "nciMajVer", {TextBox, 48}, 0, "nciMajVer", NoLimits, NoLimits, false, 0},
    {"nciSccModel", "nciSccModel", {TextBox, 49}, 0, "nciSccModel", NoLimits, NoLimits, false, 0},
    {"nciSccModel_label", "nciSccModel", {ModelLabel, 0}, 0, "nciSccModel", NoLimits, NoLimits, false, 0},
    {"nciSccModel_txtNvi", "nciSccModel", {TextBox, 50}, 1, "nciSccModel", NoLimits, NoLimits, false, 0},
    {"nciSccModelRaw", "nciSccModelRaw", {Debug, 0}, 0, "nciSccModelRaw", NoLimits, NoLimits, false, 0},
    {"nciLocation", "Location string", {TextBox, 51}, 0, "nciLocation", NoLimits, NoLimits, false, 0},
};
// clang-format on

std::shared_ptr<FieldControl> controlFor(const FieldControls& controls, ControlRef ref) {
    switch (ref.kind) {
    case TextBox:
        return controls.txtNvi.at(ref.index);
    case ComboBox:
        return controls.cbNvi.at(ref.index);
    case Debug:
        return controls.txtDebug;
    case ModelLabel:
        return controls.lbModel;
    case HvacTypeLabel:
        return controls.lbHvacType;
    }
    return nullptr;
}

void setLimits(CNvCtrlTable& field, qint16 unitSystem, LimitTexts limits) {
    if (!limits.min)
        return;
    field.MinLimit(unitSystem, QString::fromLatin1(limits.min));
    field.MaxLimit(unitSystem, QString::fromLatin1(limits.max));
}

std::shared_ptr<CNvCtrlTable> fieldFor(const Specific& specific, const FieldControls& controls,
                                       const FieldRow& row) {
    auto field = std::make_shared<CNvCtrlTable>();
    field->Name = QString::fromLatin1(row.name);
    field->Description = QString::fromLatin1(row.description);
    field->Typee = QStringLiteral("CP");
    field->TheControl = controlFor(controls, row.control);
    field->ItemArrayIndex = row.item;
    field->NvCpTable = specific.NvCpTables.Item(QString::fromLatin1(row.valueKey));
    setLimits(*field, Specific::Imperial, row.imperial);
    setLimits(*field, Specific::Metric, row.metric);
    field->OffsetValue = row.offsetValue;
    if (row.roundingStep != 0) {
        field->RoundValue = true;
        field->Ceiling = row.roundingStep;
    }
    return field;
}

} // namespace

void BuildNvCtrlTables(Specific& specific, const FieldControls& controls) {
    // A later device replaces the fields of the one before.
    KeyedCollection<CNvCtrlTable> fields(QStringLiteral("NvCtrlTables"));
    for (const FieldRow& row : Rows)
        fields.Add(QString::fromLatin1(row.name), fieldFor(specific, controls, row));
    specific.NvCtrlTables = std::move(fields);
}
