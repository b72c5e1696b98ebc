// SPDX-License-Identifier: Apache-2.0
#include "Thermostat.h"

#include "model/DeviceReading.h"
#include "model/DeviceStateWord.h"
#include "platform/Dialogs.h"

namespace {

const QString HvacTypeValue = QStringLiteral("nciHvacType");
const QString VariantValue = QStringLiteral("nciCfg2RtuHp");
const QString HeatPumpFormat = QStringLiteral("UNVT_cfg_2_hp");
const QString RooftopFormat = QStringLiteral("UNVT_cfg_2_rtu");
const QString HeatPumpType = QStringLiteral("HVT_HEAT_PUMP");
const QString RawModelField = QStringLiteral("nciSccModelRaw");
constexpr int OffNet = 1;

// Nobody answers here: a failed look-up ends at once and its text is kept.
class AbortingDialogs : public Dialogs {
public:
    DialogAnswer message(const MessageRequest& request) override {
        failure = request.text;
        return DialogAnswer::Abort;
    }
    QString openFile(const FileRequest&) override { return QString(); }
    QString saveFile(const FileRequest&) override { return QString(); }

    QString failure;
};

} // namespace

Thermostat::Thermostat(const lns::Ref<lns::System>& system, lns::Ref<lns::AppDevice> device,
                       QString path, qint16 unitSystem)
    : m_system(system), m_device(std::move(device)), m_path(std::move(path)),
      m_fields(unitSystem, {}, system) {}

void Thermostat::read(const std::function<void(const CNvCpTable&)>& readingLogged) {
    if (m_system->ManagementMode() == OffNet)
        throw Error(0, QStringLiteral("rm42-config"),
                    QStringLiteral("the network is off-net: the thermostat cannot be read"));
    const auto nvs = m_device->Interface()->NetworkVariables();
    AbortingDialogs dialogs;
    m_fields = ConfigurationFields(
        m_fields.unitSystem(),
        [&](const QString& path) { return GetCpByTypeIndex(path, m_device, nvs, dialogs); },
        m_system);
    if (!dialogs.failure.isEmpty())
        throw Error(0, QStringLiteral("GetCpByTypeIndex"), dialogs.failure);
    Specific& specific = m_fields.specific();
    m_device->setOnlineAccess(1);
    // The type is read again in catalog order, and two values show the
    // model: one reading fetches each of them once.
    DeviceReading reading;
    const auto& hvacType = specific.NvCpTables.Item(HvacTypeValue);
    hvacType->GetNetworkValue(reading);
    if (readingLogged)
        readingLogged(*hvacType);
    formGeneralOptions(m_fields, hvacType->NvAsString());
    for (const auto& value : specific.NvCpTables) {
        value->GetNetworkValue(reading);
        if (readingLogged)
            readingLogged(*value);
    }
}

QString Thermostat::hvacType() const {
    return m_fields.specific().NvCpTables.Item(HvacTypeValue)->NvAsString();
}

void Thermostat::formGeneralOptions(ConfigurationFields& fields, const QString& hvacType) {
    fields.specific().NvCpTables.Item(VariantValue)->Format =
        isHeatPumpType(hvacType) ? HeatPumpFormat : RooftopFormat;
}

bool Thermostat::isHeatPumpType(const QString& hvacType) {
    return hvacType == HeatPumpType;
}

qint16 Thermostat::model() const {
    return ModelNumberOfRaw(m_fields.itemOf(RawModelField));
}

ModelLayout Thermostat::layout() const {
    ModelLayout layout = modelLayoutFor(model());
    if (!layout.heatPumpShown)
        layout.heatPumpShown = isHeatPump();
    if (!layout.economizerShown)
        layout.economizerShown = !isHeatPump();
    return layout;
}

QString deviceStateWord(lns::AppDevice& device) {
    if (!device.Commissioned())
        return QStringLiteral("Not Commissioned yet");
    if (device.Test() != 0)
        return QStringLiteral("?");
    return DeviceStateWord(device.State());
}
