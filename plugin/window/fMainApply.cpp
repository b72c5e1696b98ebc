// SPDX-License-Identifier: Apache-2.0
// Apply and cancel: edited values are checked against their limits, written
// into the fields and sent to the device; the hidden "Set model" button.
#include "model/CNvCtrlTable.h"
#include "model/EditingRules.h"
#include "model/RuntimeErrors.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "support/PaintTurns.h"
#include "support/PlugInIdentity.h"
#include "support/fLog.h"
#include "window/ModifiedMark.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace {

const QString LocationField = QStringLiteral("nciLocation");

QString controlText(const QWidget* control) {
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (const auto* box = qobject_cast<const QLineEdit*>(control))
        return box->text();
    return QString();
}

bool isWritable(const CNvCtrlTable& field) {
    return field.Typee == u"NVI" || field.Typee == u"CP";
}

} // namespace

void fMain::cmdApply_Click() {
    if (!m_deviceOpened)
        return;
    Specific& specific = m_services.specific;
    // A text the device cannot hold is never sent, nor anything with it: the
    // user mends it first.
    for (const auto& field : specific.NvCtrlTables) {
        if (auto* box = qobject_cast<QLineEdit*>(widgetOf(*field));
            box && refuseUnholdable(*field, box)) {
            box->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    setBusyPointer(true);
    std::vector<ProcedureStep> writeBack;
    for (const auto& field : specific.NvCtrlTables)
        writeBack.push_back([this, field] { writeBackField(*field); });
    const bool written =
        runSteps(writeBack, askAbortRetryIgnore(m_services.dialogs,
                                                {QStringLiteral("fMain cmdApply_Click"),
                                                 DialogIcon::Information,
                                                 {},
                                                 [this](const Error& error) {
                                                     activityLog().LogError(error.description());
                                                 }}));
    if (!written) {
        setBusyPointer(false);
        return;
    }
    if (PropagateChanges()) {
        ChangesPending = false;
        cmdApply->setEnabled(false);
        cmdCancel->setEnabled(false);
    }
    // Controls of values still unsent keep their mark, so they can be applied
    // again; the others show what the device now holds, as a read shows it.
    for (const auto& field : specific.NvCtrlTables) {
        QWidget* control = widgetOf(*field);
        if (field->NvCpTable->ValueAsChanges() || !ModifiedMark::isSet(control) ||
            !(qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)))
            continue;
        if (!isUnread(*field))
            showFieldValue(*field, control);
        ModifiedMark::clear(control);
    }
    setBusyPointer(false);
}

// Writes the text of an edited control into its field, within the field's
// limits for the display units.
void fMain::writeBackField(CNvCtrlTable& field) {
    QWidget* control = widgetOf(field);
    if (!ModifiedMark::isSet(control) || !isWritable(field) || isUnread(field))
        return;
    // A placeholder left as it was is no value to send.
    if (!field.NvCpTable->IsKnown(field.ItemArrayIndex) &&
        rules::isPlaceholder(controlText(control)))
        return;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        field.Value(combo->currentText());
        return;
    }
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!box)
        return;
    if (field.Name == LocationField) {
        field.Value(box->text());
        return;
    }
    bringIntoRange(field, box);
    const qint16 units = m_services.specific.UnitSystem;
    field.Value(rules::checkRange(box->text(), field.Description, field.MaxLimit(units),
                                  field.MinLimit(units), field.OffsetValue, units)
                    .storedText);
}

bool fMain::bringIntoRange(const CNvCtrlTable& field, QLineEdit* box) {
    if (!ModifiedMark::isSet(box) || !isWritable(field) || field.Name == LocationField)
        return false;
    const qint16 units = m_services.specific.UnitSystem;
    const rules::RangeResult checked =
        rules::checkRange(box->text(), field.Description, field.MaxLimit(units),
                          field.MinLimit(units), field.OffsetValue, units);
    if (!checked.message)
        return false;
    m_services.dialogs.inform(*checked.message, Identity().Name, DialogIcon::None);
    box->setText(checked.shownText);
    return true;
}

// The text of an edited box checked against what the device can hold; true
// when it cannot, after telling the user what the field takes.
bool fMain::refuseUnholdable(const CNvCtrlTable& field, const QLineEdit* box) {
    if (!ModifiedMark::isSet(box) || !isWritable(field) || isUnread(field) || box->isReadOnly())
        return false;
    const qint16 units = m_services.specific.UnitSystem;
    // The user's text as Apply brings it into range; the offset the window
    // adds to a limit is its own and is rounded by the device like any write.
    const QString shown =
        field.Name == LocationField
            ? box->text()
            : rules::checkRange(box->text(), field.Description, field.MaxLimit(units),
                                field.MinLimit(units), field.OffsetValue, units)
                  .shownText;
    if (!rules::heldTextRefusal(field, shown))
        return false;
    m_services.dialogs.inform(rules::acceptedTexts(field, units), QStringLiteral("Invalid value"),
                              DialogIcon::Warning);
    return true;
}

bool fMain::PropagateChanges() {
    Specific& specific = m_services.specific;
    std::vector<ProcedureStep> sends;
    for (const auto& value : specific.NvCpTables) {
        // Logged only once sent: the log records what reached the device.
        sends.push_back([this, value] {
            if (!value->ValueAsChanges())
                return;
            // Each send waits on the device; the window keeps painting.
            PaintTurns::letWindowsPaint();
            value->SendNetworkValue();
            activityLog().LogCommand(QStringLiteral("Updating ") + value->Name,
                                     value->NvAsString());
        });
    }
    const bool finished =
        runSteps(sends, askAbortRetryIgnore(m_services.dialogs,
                                            {QStringLiteral("fMain PropagateChanges"),
                                             DialogIcon::Critical,
                                             {},
                                             [this](const Error& error) {
                                                 activityLog().LogError(error.description());
                                             }}));
    if (!finished)
        return false;
    // A value the user chose to skip is still unsent: the apply is not done.
    for (const auto& value : specific.NvCpTables) {
        if (value->ValueAsChanges())
            return false;
    }
    return true;
}

void fMain::cmdDebug_Click() {
    try {
        // Halves go to the even number, as the default rounding does.
        const double model = std::nearbyint(rules::leadingNumber(txtDebug->text()));
        if (model < std::numeric_limits<qint16>::min() ||
            model > std::numeric_limits<qint16>::max())
            throw RuntimeErrors::overflow(QStringLiteral("cmdDebug_Click"));
        ApplyModelLayout(static_cast<qint16>(model));
    } catch (const Error& error) {
        m_services.dialogs.inform(error.description(), Identity().Name, DialogIcon::Critical);
    }
}
