// SPDX-License-Identifier: Apache-2.0
#include "window/ModifiedMark.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr char MarkProperty[] = "modifiedMark";

// An editable combo box shows its text in its line edit.
QWidget* textWidgetOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        return combo->lineEdit();
    return control;
}

void setTextColour(QWidget* control, const QColor& colour) {
    for (QWidget* widget : {control, textWidgetOf(control)}) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Text, colour);
        palette.setColor(QPalette::WindowText, colour);
        widget->setPalette(palette);
    }
}

} // namespace

namespace ModifiedMark {

void set(QWidget* control) {
    if (!control)
        return;
    control->setProperty(MarkProperty, true);
    setTextColour(control, QColor(255, 0, 0));
}

// A box that was never marked keeps the palette it inherits: setting one
// reaches the box's children and costs more than the rest of showing a value.
void clear(QWidget* control) {
    if (!control || !isSet(control))
        return;
    control->setProperty(MarkProperty, false);
    setTextColour(control, QApplication::palette(control).color(QPalette::Text));
}

bool isSet(const QWidget* control) {
    return control && control->property(MarkProperty).toBool();
}

} // namespace ModifiedMark
