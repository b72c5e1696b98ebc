// SPDX-License-Identifier: Apache-2.0
#include "model/DeviceValueCatalog.h"

#include "model/Specific.h"

#include <map>

namespace {

struct ValueRow {
    const char* key;
    const char* name;
    const char* description;
    const char* format;
    const char* separator;
    const char* cpPath;
    const char* relative;
    bool localizationSpecific;
    qint16 arrayIndex;
};

constexpr const char* Standard = "Network Variables:0";
constexpr const char* Maker = "Network Variables:4";

// Insertion order is the order in which the window reads and writes the values.
// clang-format off
constexpr ValueRow Rows[] = {
    {"nciSetPts", "nciSetPts", "Heating / Cooling Setpoints", "SNVT_temp_setpt", ",", "F:0/C:0:60", Standard, true, 0},
    {"nciCfg1RtuHp", "nciCfg1RtuHp", "nciCfg1RtuHp", "UNVT_cfg_1_rtu_hp", " ", "F:0/C:4:12", Maker, true, 0},
    {"nciDaySched0", "nciDaySched0", "nciDaySched0", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 0},
    {"nciDaySched1", "nciDaySched1", "nciDaySched1", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 1},
    {"nciDaySched2", "nciDaySched2", "nciDaySched2", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 2},
    {"nciDaySched3", "nciDaySched3", "nciDaySched3", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 3},
    {"nciDaySched4", "nciDaySched4", "nciDaySched4", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 4},
    {"nciDaySched5", "nciDaySched5", "nciDaySched5", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 5},
    {"nciDaySched6", "nciDaySched6", "nciDaySched6", "UCPTdaySched", " ", "F:0/C:4:4", Maker, false, 6},
    {"nciCfg2RtuHp", "nciCfg2RtuHp", "Device General Options", "UNVT_cfg_2_hp", " ", "F:0/C:4:13", Maker, true, 0},
    {"nciSccModel", "nciSccModel", "Model number and version", "UNVT_model_info2", " ", "F:0/C:4:8", Maker, false, 0},
    {"nciHvacType", "nciHvacType", "", "SNVT_hvac_type", " ", "F:0/C:0:169", Maker, false, 0},
    {"nciSndHrtBt", "nciSndHrtBt", "", "SNVT_time_sec", " ", "F:0/C:0:49", Maker, false, 0},
    {"nciMinOutTm", "nciMinOutTm", "", "SNVT_time_sec", " ", "F:0/C:0:52", Maker, false, 0},
    {"nciRcvHrtBt", "nciRcvHrtBt", "", "SNVT_time_sec", " ", "F:0/C:0:48", Maker, false, 0},
    {"nciMajVer", "nciMajVer", "nciMajVer", "INT", " ", "F:0/C:0:167", Maker, false, 0},
    {"nciMinVer", "nciMinVer", "nciMinVer", "INT", " ", "F:0/C:0:168", Maker, false, 0},
    {"nciLocation", "nciLocation", "nciLocation", "SNVT_str_asc", "", "F:0/C:0:17", Maker, false, 0},
    {"nciSccModelRaw", "nciSccModel (Raw)", "Model number and version", "RAW", "\t", "F:0/C:4:8", Maker, false, 0},
};
// clang-format on

} // namespace

void BuildNvCpTables(Specific& specific, const CpLookupFunction& GetCpByTypeIndex,
                     const lns::Ref<lns::System>& system) {
    // A later device replaces the values of the one before.
    KeyedCollection<CNvCpTable> values(QStringLiteral("NvCpTables"));
    // The values of one property share its object, so that one reading of the
    // device fetches what they show once.
    std::map<QString, lns::Ref<lns::ConfigProperty>> propertyOfPath;
    for (const ValueRow& row : Rows) {
        auto value = std::make_shared<CNvCpTable>(specific, system);
        value->Name = QString::fromLatin1(row.name);
        value->Description = QString::fromLatin1(row.description);
        value->Separator = QString::fromLatin1(row.separator);
        value->Format = QString::fromLatin1(row.format);
        const QString path = QString::fromLatin1(row.cpPath);
        value->MyNetworkVariable = GetCpByTypeIndex(path);
        if (value->MyNetworkVariable)
            value->MyNetworkVariable =
                propertyOfPath.try_emplace(path, value->MyNetworkVariable).first->second;
        value->Relative = QString::fromLatin1(row.relative);
        value->LocalizationSpecific = row.localizationSpecific;
        value->ArrayIndex = row.arrayIndex;
        values.Add(QString::fromLatin1(row.key), std::move(value));
    }
    specific.NvCpTables = std::move(values);
}
