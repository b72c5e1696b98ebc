// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/ControlPlacement.h"
#include "model/FieldControl.h"
#include "model/FieldControls.h"

#include <QString>
#include <memory>

// A field control without a window: it holds a text and an enabled state,
// and knows which window control it stands for.
class DataFieldControl : public FieldControl {
public:
    DataFieldControl(Kind kind, std::optional<ControlId> control)
        : m_kind(kind), m_control(control) {}

    Kind kind() const override { return m_kind; }
    QString text() const override { return m_text; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }

    void setText(const QString& text) { m_text = text; }
    // The window control this one stands for; nothing for the labels and
    // the model box.
    std::optional<ControlId> control() const { return m_control; }

private:
    Kind m_kind;
    std::optional<ControlId> m_control;
    QString m_text;
    bool m_enabled = true;
};

// One data control for every control the field catalog binds.
FieldControls dataFieldControls();

// The window control that a field's control stands for, when it is a data
// control of a text box or combo box.
std::optional<ControlId> controlOf(const std::shared_ptr<FieldControl>& control);
