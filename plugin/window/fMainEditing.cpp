// SPDX-License-Identifier: Apache-2.0
// Editing the values: which characters each box takes, the step keys, the
// undo of a text that is not a number, and the rules that keep heating and
// cooling setpoints a deadband apart and inside their limits.
#include "model/CNvCtrlTable.h"
#include "model/EditingRules.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "support/PlugInIdentity.h"
#include "support/fLog.h"
#include "window/ModifiedMark.h"
#include "window/fMain.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

constexpr int PageUpKey = 33;
constexpr int PageDownKey = 34;
constexpr int EnterKey = 13;
constexpr int DeadbandComboBox = 2;
constexpr int EventsComboBox = 16;
constexpr int FirstScheduleBox = 11;
constexpr int LastScheduleBox = 38;
constexpr int TwoEventsPosition = 0;

const QString NotNumerical = QStringLiteral("Value must be numerical");
const QString InvalidValue = QStringLiteral("Invalid value");

// Qt's modifiers as the handlers take them.
int modifierBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= rules::Shift;
    if (modifiers & Qt::ControlModifier)
        bits |= rules::Ctrl;
    if (modifiers & Qt::AltModifier)
        bits |= rules::Alt;
    return bits;
}

// The key code of the handlers: Page Up 33, Page Down 34, Enter 13.
int keyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_PageUp:
        return PageUpKey;
    case Qt::Key_PageDown:
        return PageDownKey;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EnterKey;
    default:
        return qtKey;
    }
}

// Keys that move the focus or only modify other keys are no edit.
bool isNavigationOrModifier(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

// A focus change inside the window, not one to another application or a
// message box.
bool leavesWithinWindow(const QEvent* event) {
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool isScheduleBox(int index) {
    return index >= FirstScheduleBox && index <= LastScheduleBox;
}

} // namespace

void fMain::connectEditing() {
    for (int i = 0; i < FieldControls::TextBoxCount; ++i) {
        txtNvi[i]->installEventFilter(this);
        // Every change the user makes marks the box, also one made without
        // typing a character (Delete, paste, cut): an unmarked edit would
        // never be applied.
        connect(txtNvi[i], &QLineEdit::textEdited, this, [this, i] {
            if (!isLocked(i))
                markModified(txtNvi[i]);
        });
    }
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i) {
        cbNvi[i]->installEventFilter(this);
        cbNvi[i]->lineEdit()->installEventFilter(this);
        connect(cbNvi[i], &QComboBox::activated, this, [this, i](int) { cbNvi_Click(i); });
        connect(cbNvi[i], &ValueComboBox::droppedDown, this, [this, i] { cbNvi_DropDown(i); });
    }
}

bool fMain::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < FieldControls::TextBoxCount; ++i) {
        if (watched == txtNvi[i])
            return textBoxEvent(i, event);
    }
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i) {
        if (watched == cbNvi[i] || watched == cbNvi[i]->lineEdit())
            return comboBoxEvent(i, event);
    }
    return QWidget::eventFilter(watched, event);
}

bool fMain::textBoxEvent(int index, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        txtNvi_GotFocus(index);
        return false;
    case QEvent::FocusOut:
        if (leavesWithinWindow(event))
            leaveTextBox(index);
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (txtNvi_KeyDown(index, keyCode(key->key()), modifierBits(key->modifiers())))
            return true;
        if (keyCode(key->key()) == EnterKey) {
            pressEnterInTextBox(index);
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8)))
            return !txtNvi_KeyPress(index, text[0]);
        return false;
    }
    default:
        return false;
    }
}

bool fMain::comboBoxEvent(int index, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusOut:
        if (leavesWithinWindow(event) && !cbNvi[index]->isAncestorOf(QApplication::focusWidget()))
            cbNvi_LostFocus(index);
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isNavigationOrModifier(key->key()))
            return false;
        cbNvi_KeyDown(index, keyCode(key->key()));
        // Typed characters are never taken: values are chosen from the list.
        const QString text = key->text();
        return keyCode(key->key()) == EnterKey || (text.size() == 1 && text[0].isPrint());
    }
    default:
        return false;
    }
}

// What leaving a text box runs: the numeric check, then the setpoint rules.
bool fMain::leaveTextBox(int index) {
    const bool undone = txtNvi_Validate(index);
    const bool adjusted = txtNvi_LostFocus(index);
    return undone || adjusted;
}

// Enter checks the entry as leaving the box and Apply would. When that
// changed a value or told the user something, nothing is sent: the user sees
// the values first and applies them with a second Enter.
void fMain::pressEnterInTextBox(int index) {
    if (isLocked(index))
        return;
    if (leaveTextBox(index))
        return;
    CNvCtrlTable* field = fieldOf(txtNvi[index]);
    if (field && bringIntoRange(*field, txtNvi[index]))
        return;
    cmdApply_Click();
}

bool fMain::isLocked(int index) const {
    return txtNvi[index]->isReadOnly();
}

void fMain::txtNvi_GotFocus(int index) {
    if (isLocked(index))
        return;
    QLineEdit* box = txtNvi[index];
    if (!ModifiedMark::isSet(box) || index == rules::LocationBox)
        box->setProperty("Tag", box->text());
    // After the focus event, so a click that placed the caret does not undo it.
    QTimer::singleShot(0, box, [box] { box->selectAll(); });
}

bool fMain::txtNvi_KeyPress(int index, QChar character) {
    if (isLocked(index))
        return false;
    const bool accepted = rules::acceptsCharacter(index, character);
    markModified(txtNvi[index]);
    return accepted;
}

bool fMain::txtNvi_KeyDown(int index, int key, int modifiers) {
    if (isLocked(index) || (key != PageUpKey && key != PageDownKey))
        return false;
    QLineEdit* box = txtNvi[index];
    const std::optional<QString> stepped =
        rules::steppedText(box->text(), key == PageUpKey, modifiers);
    if (!stepped)
        return true;
    ModifiedMark::set(box);
    box->setText(*stepped);
    ChangesPending = true;
    cmdApply->setEnabled(true);
    cmdCancel->setEnabled(true);
    return true;
}

bool fMain::txtNvi_Validate(int index) {
    if (isLocked(index))
        return false;
    QLineEdit* box = txtNvi[index];
    if (index != rules::LocationBox && !takeTimeOfDay(index) && !rules::isNumeric(box->text())) {
        m_services.dialogs.inform(NotNumerical, InvalidValue, DialogIcon::Warning);
        box->setText(box->property("Tag").toString());
        ModifiedMark::clear(box);
        return true;
    }
    // Told now, not at Apply: the box stays red until the user mends it.
    const CNvCtrlTable* field = fieldOf(box);
    return field && refuseUnholdable(*field, box);
}

// A typed time of day is kept in the minutes of the day the device holds:
// the same value, so nothing to tell.
bool fMain::takeTimeOfDay(int index) {
    if (!isScheduleBox(index))
        return false;
    const std::optional<int> minutes = rules::minutesOfDay(txtNvi[index]->text());
    if (!minutes)
        return false;
    txtNvi[index]->setText(QString::number(*minutes));
    return true;
}

rules::SetpointTexts fMain::setpointTexts() const {
    return {txtNvi[0]->text(),
            txtNvi[1]->text(),
            txtNvi[2]->text(),
            txtNvi[3]->text(),
            txtNvi[4]->text(),
            txtNvi[6]->text(),
            cbNvi[DeadbandComboBox]->currentText()};
}

bool fMain::applyAdjustments(const std::function<rules::RuleOutcome()>& rule) {
    try {
        const rules::RuleOutcome outcome = rule();
        for (const rules::SkippedRule& skipped : outcome.skipped)
            logSkippedRule(skipped);
        for (const rules::Adjustment& adjustment : outcome.adjustments) {
            QLineEdit* target = txtNvi[adjustment.target];
            target->setText(adjustment.text);
            ModifiedMark::set(target);
            target->setFocus(Qt::OtherFocusReason);
            m_services.dialogs.inform(rules::adjustmentMessage(adjustment.reason), Identity().Name,
                                      DialogIcon::None);
        }
        return !outcome.adjustments.empty();
    } catch (const Error& error) {
        m_services.dialogs.inform(error.description(), Identity().Name, DialogIcon::None);
        return true;
    }
}

// The user learns why a partner value did not follow.
void fMain::logSkippedRule(const rules::SkippedRule& skipped) {
    const CNvCtrlTable* target = fieldOf(txtNvi[skipped.target]);
    activityLog().LogCommand(
        QStringLiteral("Rule not applied"),
        skipped.reason + u' ' + (target ? target->Description : QString()) +
            QStringLiteral(" left as it is: a value the rule reads is unknown (not read)."));
}

bool fMain::txtNvi_LostFocus(int index) {
    return applyAdjustments([&] { return rules::outcomeLeavingTextBox(index, setpointTexts()); });
}

bool fMain::cbNvi_LostFocus(int index) {
    return applyAdjustments([&] { return rules::outcomeLeavingComboBox(index, setpointTexts()); });
}

void fMain::cbNvi_Click(int index) {
    if (index == EventsComboBox)
        frmPeriode2->setVisible(cbNvi[index]->currentIndex() != TwoEventsPosition);
    markModified(cbNvi[index]);
}

void fMain::cbNvi_KeyDown(int index, int key) {
    if (key != EnterKey)
        markModified(cbNvi[index]);
    else if (!cbNvi_LostFocus(index)) // as in a text box: adjusted values are seen first
        cmdApply_Click();
}

void fMain::cbNvi_DropDown(int index) {
    markModified(cbNvi[index]);
}
