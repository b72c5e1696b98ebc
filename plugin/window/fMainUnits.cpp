// SPDX-License-Identifier: Apache-2.0
// Display units: the stored setting, the unit captions and deadband items,
// and switching the window between Imperial and Metric.
#include "model/EditingRules.h"
#include "model/Specific.h"
#include "platform/Dialogs.h"
#include "support/CRegistry.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace {

const QString DisplayUnitsValue = QStringLiteral("DisplayUnits");

} // namespace

void fMain::GetDisplayUnits() {
    CRegistry registry(m_services.store);
    m_services.specific.UnitSystem = static_cast<qint16>(rules::unitSystemFromStored(
        registry.MachineSetting(m_services.plugInKey, DisplayUnitsValue)));
    obUnits[m_services.specific.UnitSystem]->setChecked(true);
    applyDisplayUnits();
}

void fMain::SetDisplayUnits() {
    CRegistry registry(m_services.store);
    registry.MachineSetting(m_services.plugInKey, DisplayUnitsValue,
                            rules::storedUnitSystem(m_services.specific.UnitSystem));
}

// A switch the user confirmed outlives the window, whether the host still
// holds the plug-in or released it before the window was left.
void fMain::keepChosenUnits() {
    if (m_unitsChosen)
        SetDisplayUnits();
    m_unitsChosen = false;
}

void fMain::applyDisplayUnits() {
    const rules::DisplayUnits units = rules::displayUnitsFor(m_services.specific.UnitSystem);
    QComboBox* deadband = cbNvi[2];
    // The shown value stays: it is the device's, not one of the items.
    const QString shown = deadband->currentText();
    deadband->clear();
    deadband->addItems(units.deadbandItems);
    deadband->setEditText(shown);
    for (QLabel* caption : txtTempUnits)
        caption->setText(units.caption);
}

void fMain::obUnits_Click(int index) {
    const qint16 current = m_services.specific.UnitSystem;
    if (index == current)
        return;
    if (ChangesPending) {
        const DialogAnswer answer =
            m_services.dialogs.message({rules::discardChangesWarning(), QStringLiteral("Warning"),
                                        DialogButtons::OkCancel, DialogIcon::Warning, 0});
        if (answer != DialogAnswer::Ok) {
            obUnits[current]->setChecked(true);
            return;
        }
    }
    cmdCancel_Click();
    m_services.specific.UnitSystem = static_cast<qint16>(index);
    m_unitsChosen = true;
    applyDisplayUnits();
    if (m_deviceOpened) {
        ReadInitValues();
        DisplayFieldValues();
    }
}
