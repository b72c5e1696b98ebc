// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/FieldControl.h"

#include <QPointer>
#include <QWidget>

// A window control as the model sees it. The kind follows the widget's class:
// line edit, combo box, label, anything else. A widget that is gone reads as
// an empty, disabled control.
class WidgetFieldControl : public FieldControl {
public:
    explicit WidgetFieldControl(QWidget* widget);

    Kind kind() const override { return m_kind; }
    QString text() const override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    // The widget itself, for the window that shows values in it.
    QWidget* widget() const { return m_widget.data(); }

private:
    QPointer<QWidget> m_widget;
    Kind m_kind;
};
