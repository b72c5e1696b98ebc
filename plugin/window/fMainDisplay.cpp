// SPDX-License-Identifier: Apache-2.0
// Showing the field values in the controls, the modified mark, the
// model-dependent layout and the second occupancy period.
#include "automation/PlugInState.h"
#include "model/CNvCtrlTable.h"
#include "model/ModelLayout.h"
#include "model/ShownValue.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "support/PlugInIdentity.h"
#include "window/ModifiedMark.h"
#include "window/fMain.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int ModelTab = 3;
constexpr int SchedulerTab = 4;
constexpr int ContactTab = 6;
constexpr int EventsComboBox = 16;

// Set on a value control while it is locked because its value was not read.
constexpr char UnreadProperty[] = "lockedUnread";

QStringList itemsOf(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Shows a text in a combo box, selecting the item when the list has it or
// the value stands for one of its items.
void showInComboBox(QComboBox* combo, const QString& text) {
    const QString shown = rules::listItemFor(text, itemsOf(combo)).value_or(text);
    const int index = combo->findText(shown, Qt::MatchExactly);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else
        combo->setEditText(shown);
}

} // namespace

void fMain::DisplayFieldValues() {
    try {
        for (const auto& field : m_services.specific.NvCtrlTables) {
            if (isUnread(*field))
                continue;
            QWidget* control = widgetOf(*field);
            if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)) {
                if (!ModifiedMark::isSet(control))
                    showFieldValue(*field, control);
            } else if (auto* label = qobject_cast<QLabel*>(control)) {
                if (!offNet())
                    label->setText(field->Value());
            }
        }
        unlockReadValues();
        ApplyModelLayout(offNet() ? 0 : ModelNumberOfRaw(txtDebug->text()));
        lockUnreadValues();
        setPeriode2Visibility();
    } catch (const Error& error) {
        m_services.dialogs.inform(error.description() + u' ' + error.source(), Identity().Name,
                                  DialogIcon::None);
    }
}

bool fMain::EnableNvFields(bool enable) {
    std::vector<ProcedureStep> steps;
    for (const auto& field : m_services.specific.NvCtrlTables) {
        auto* box = qobject_cast<QLineEdit*>(widgetOf(*field));
        if (!box)
            continue;
        steps.push_back([box, field, enable] {
            if (field->Typee == u"NVO") {
                box->setEnabled(enable);
            } else if (field->Typee == u"NVI") {
                box->setEnabled(enable);
                // Greyed like a button face while it cannot be edited.
                const QPalette normal = QApplication::palette(box);
                QPalette palette = box->palette();
                palette.setColor(QPalette::Base,
                                 normal.color(enable ? QPalette::Base : QPalette::Button));
                box->setPalette(palette);
            }
        });
    }
    return runSteps(steps,
                    askAbortRetryIgnore(
                        m_services.dialogs,
                        {QStringLiteral("fMain EnableNvFields"), DialogIcon::Critical, {}, {}}));
}

bool fMain::ShowMonitoredValue(const CNvCtrlTable& field, const QString& value) {
    auto* box = qobject_cast<QLineEdit*>(widgetOf(field));
    if (box)
        box->setText(value);
    return true;
}

void fMain::ApplyModelLayout(qint16 model) {
    const ModelLayout layout = modelLayoutFor(model);
    EnableFieldControl(m_services.specific.NvCtrlTables, QStringLiteral("prog_rec"),
                       layout.schedulingEnabled);
    frmProgRecovery->setEnabled(layout.schedulingEnabled);
    tabData->setTabEnabled(SchedulerTab, layout.schedulingEnabled);
    tabData->setTabEnabled(ModelTab, layout.modelTabEnabled);
    frmHeatingStages->setVisible(layout.heatingStagesShown);
    frmHeatPumpStages->setTitle(layout.stageFrameCaption);
    nameComboBox(cbNvi[8], layout.stageFrameCaption);
    frmHeatPumpStages->setVisible(layout.stageFrameShown);
    if (layout.heatPumpShown)
        frmHeatPump->setVisible(*layout.heatPumpShown);
    if (layout.economizerShown)
        frmEconomizer->setVisible(*layout.economizerShown);
}

void fMain::setPeriode2Visibility() {
    frmPeriode2->setVisible(cbNvi[EventsComboBox]->currentText() != u"TWO_EVENTS");
}

void fMain::markModified(QWidget* control) {
    ModifiedMark::set(control);
    ChangesPending = true;
    cmdApply->setEnabled(true);
    cmdCancel->setEnabled(true);
}

// A field's value as its box or combo box shows it, held overlaid by pending.
void fMain::showFieldValue(const CNvCtrlTable& field, QWidget* control) {
    const QString shown = rules::shownValue(field, m_services.specific.UnitSystem);
    if (auto* box = qobject_cast<QLineEdit*>(control))
        box->setText(shown);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        showInComboBox(combo, shown);
}

// The edits are dropped first, so the boxes show what the device holds.
void fMain::cmdCancel_Click() {
    Specific& specific = m_services.specific;
    for (const auto& value : specific.NvCpTables)
        value->DropPendingEdits();
    for (const auto& field : specific.NvCtrlTables) {
        QWidget* control = widgetOf(*field);
        if (!ModifiedMark::isSet(control) ||
            !(qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)))
            continue;
        showFieldValue(*field, control);
        ModifiedMark::clear(control);
    }
    setPeriode2Visibility();
    ChangesPending = false;
    cmdApply->setEnabled(false);
    cmdCancel->setEnabled(false);
}

bool fMain::isUnread(const CNvCtrlTable& field) const {
    return field.NvCpTable && m_unreadValues.contains(field.NvCpTable->Name);
}

// A value that was not read shows nothing rather than a guess, and takes no edit.
void fMain::lockUnreadValues() {
    for (const auto& field : m_services.specific.NvCtrlTables) {
        QWidget* control = widgetOf(*field);
        if (!control || !isUnread(*field))
            continue;
        clearValue(control);
        control->setEnabled(false);
        control->setProperty(UnreadProperty, true);
    }
}

// Once read again it takes edits as before; the model layout then has its say.
void fMain::unlockReadValues() {
    for (const auto& field : m_services.specific.NvCtrlTables) {
        QWidget* control = widgetOf(*field);
        if (!control || isUnread(*field) || !control->property(UnreadProperty).toBool())
            continue;
        control->setEnabled(true);
        control->setProperty(UnreadProperty, false);
    }
}

// A box already empty is left alone: setting a text lays it out again.
void fMain::clearValue(QWidget* control) {
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        if (!box->text().isEmpty())
            box->clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->currentIndex() != -1)
            combo->setCurrentIndex(-1);
        if (!combo->currentText().isEmpty())
            combo->clearEditText();
    }
    ModifiedMark::clear(control);
}

// Before a device opens, and after one failed to, no value is shown: none of
// the device before may pass for the new one's, and no edit can be made.
void fMain::showNoDevice() {
    showNoValues();
    lockPages();
}

void fMain::showNoValues() {
    m_deviceOpened = false;
    for (QLineEdit* box : txtNvi)
        clearValue(box);
    for (ValueComboBox* combo : cbNvi)
        clearValue(combo);
    lbModel->setText(QStringLiteral("Undefined model"));
    lbHvacType->setText(QStringLiteral("HVT_UNKNOWN"));
    lblDeviceTemplate->setText(QStringLiteral("Device Template"));
    txtDebug->setText(QStringLiteral("0"));
    ChangesPending = false;
    cmdApply->setEnabled(false);
    cmdCancel->setEnabled(false);
    setWindowTitle(Identity().Name);
}

// Disabling a page reaches every control on it: done only when it changes.
void fMain::lockPages() {
    for (int tab = 0; tab < tabData->count(); ++tab) {
        if (tab != ContactTab)
            tabData->widget(tab)->setEnabled(false);
    }
}

// The device, its subsystem as the host's path names it, and the plug-in, so
// that several windows can be told apart.
QString fMain::deviceTitle() const {
    const QString device = CurrentDevice->Name();
    const QStringList path = m_services.state.CurrentObjectName.split(u'/');
    const qsizetype at = path.lastIndexOf(device);
    QStringList parts{device};
    if (at > 0)
        parts << path[at - 1];
    parts << Identity().Name;
    return parts.join(QStringLiteral(" — "));
}

void fMain::showDeviceOpened() {
    m_deviceOpened = true;
    setWindowTitle(deviceTitle());
    for (int tab = 0; tab < tabData->count(); ++tab)
        tabData->widget(tab)->setEnabled(true);
}
