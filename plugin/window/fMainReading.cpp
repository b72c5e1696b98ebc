// SPDX-License-Identifier: Apache-2.0
// Reading every value of the device, after choosing the heat-pump or
// rooftop variant of the configuration value that differs between them.
#include "automation/PlugInState.h"
#include "model/DeviceReading.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "support/fLog.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QGroupBox>

namespace {

const QString HvacTypeValue = QStringLiteral("nciHvacType");
const QString VariantValue = QStringLiteral("nciCfg2RtuHp");
const QString HeatPumpFormat = QStringLiteral("UNVT_cfg_2_hp");
const QString RooftopFormat = QStringLiteral("UNVT_cfg_2_rtu");
const QString HeatPumpType = QStringLiteral("HVT_HEAT_PUMP");
const QString UnknownLayout =
    QStringLiteral(" not read\r\nThe HVAC type could not be read, so the layout of the general "
                   "options is unknown; they are neither shown nor applied.");

enum OfflineHvacChoice { HeatPumpModel = 0, RooftopWithEconomizer = 1, OtherModel = 2 };

QString readingEntry(const CNvCpTable& value) {
    return QStringLiteral("Reading ") + value.Name;
}

} // namespace

bool fMain::ReadInitValues() {
    Specific& specific = m_services.specific;
    setBusyPointer(true);
    // The HVAC type read for the layout is read again in catalog order, and
    // two values show the model: one reading fetches each of them once.
    DeviceReading reading;
    std::vector<ProcedureStep> steps;
    std::vector<ProcedureStep> reads;
    // On line the variant's layout is known only from an HVAC type that was
    // read; a value read in a guessed layout would show and write wrong options.
    m_unreadValues.clear();
    if (offNet()) {
        steps.push_back([this] {
            frmSelectOfflineHvacType->show();
            takeOfflineHvacChoice();
        });
    } else {
        m_unreadValues << VariantValue;
        reads.push_back([this, &specific, &reading] {
            CurrentDevice->setOnlineAccess(1);
            frmSelectOfflineHvacType->hide();
            frmHeatPump->setEnabled(true);
            frmEconomizer->setEnabled(true);
            const auto& hvacType = specific.NvCpTables.Item(HvacTypeValue);
            hvacType->GetNetworkValue(reading);
            activityLog().LogCommand(readingEntry(*hvacType), hvacType->NvAsString());
            specific.NvCpTables.Item(VariantValue)->Format =
                hvacType->NvAsString() == HeatPumpType ? HeatPumpFormat : RooftopFormat;
            m_unreadValues.removeAll(VariantValue);
        });
    }
    for (const auto& value : specific.NvCpTables) {
        reads.push_back([this, value, &reading] {
            if (m_unreadValues.contains(value->Name)) {
                activityLog().LogError(value->Name + UnknownLayout);
                return;
            }
            value->GetNetworkValue(reading);
            activityLog().LogCommand(readingEntry(*value), value->NvAsString());
        });
    }
    const int count = static_cast<int>(reads.size());
    for (int position = 1; position <= count; ++position)
        steps.push_back([this, read = reads[position - 1], position, count] {
            showReadingProgress(position, count);
            read();
        });
    const bool done = runSteps(
        steps, askAbortRetryIgnore(m_services.dialogs,
                                   {QStringLiteral("fMain ReadInitValues"),
                                    DialogIcon::Critical,
                                    {},
                                    [this](const Error& error) {
                                        activityLog().LogError(error.description());
                                    }}));
    setBusyPointer(false);
    closeProgress();
    return done;
}

// Off line the model cannot be read: the user's choice of device type
// decides which options are shown and how the variant value is read.
void fMain::takeOfflineHvacChoice() {
    const int choice = cbOfflineHvacType->currentIndex();
    // Until a type is chosen, neither set of options can be trusted to fit.
    frmHeatPump->setEnabled(choice >= 0);
    frmEconomizer->setEnabled(choice >= 0);
    if (choice < 0)
        return;
    frmHeatPump->setVisible(choice == HeatPumpModel);
    frmEconomizer->setVisible(choice == RooftopWithEconomizer);
    const auto& variant = m_services.specific.NvCpTables.Item(VariantValue);
    if (choice == HeatPumpModel)
        variant->Format = HeatPumpFormat;
    else if (choice == RooftopWithEconomizer)
        variant->Format = RooftopFormat;
}
