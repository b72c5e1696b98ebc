// SPDX-License-Identifier: Apache-2.0
#include "window/WidgetFieldControl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

FieldControl::Kind kindOf(QWidget* widget) {
    if (qobject_cast<QLineEdit*>(widget))
        return FieldControl::Kind::TextBox;
    if (qobject_cast<QComboBox*>(widget))
        return FieldControl::Kind::ComboBox;
    if (qobject_cast<QLabel*>(widget))
        return FieldControl::Kind::Label;
    return FieldControl::Kind::Other;
}

} // namespace

WidgetFieldControl::WidgetFieldControl(QWidget* widget)
    : m_widget(widget), m_kind(kindOf(widget)) {}

QString WidgetFieldControl::text() const {
    if (auto* lineEdit = qobject_cast<QLineEdit*>(m_widget.data()))
        return lineEdit->text();
    if (auto* comboBox = qobject_cast<QComboBox*>(m_widget.data()))
        return comboBox->currentText();
    if (auto* label = qobject_cast<QLabel*>(m_widget.data()))
        return label->text();
    return QString();
}

bool WidgetFieldControl::isEnabled() const {
    return m_widget && m_widget->isEnabled();
}

void WidgetFieldControl::setEnabled(bool enabled) {
    if (m_widget)
        m_widget->setEnabled(enabled);
}
