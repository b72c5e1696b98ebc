// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// What the model needs of a window control bound to a field: its kind and its
// current text, and its enabled state for the model-dependent layout.
class FieldControl {
public:
    enum class Kind { TextBox, ComboBox, Label, Other };

    virtual ~FieldControl() = default;
    virtual Kind kind() const = 0;
    // The text of a text box or combo box, the caption of a label.
    virtual QString text() const = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};
