// SPDX-License-Identifier: Apache-2.0
#include "model/DataFieldControl.h"

FieldControls dataFieldControls() {
    using Kind = FieldControl::Kind;
    FieldControls controls;
    for (int i = 0; i < FieldControls::TextBoxCount; ++i)
        controls.txtNvi[i] =
            std::make_shared<DataFieldControl>(Kind::TextBox, ControlId{ControlArray::TextBox, i});
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i)
        controls.cbNvi[i] = std::make_shared<DataFieldControl>(
            Kind::ComboBox, ControlId{ControlArray::ComboBox, i});
    controls.txtDebug = std::make_shared<DataFieldControl>(Kind::TextBox, std::nullopt);
    controls.lbModel = std::make_shared<DataFieldControl>(Kind::Label, std::nullopt);
    controls.lbHvacType = std::make_shared<DataFieldControl>(Kind::Label, std::nullopt);
    return controls;
}

std::optional<ControlId> controlOf(const std::shared_ptr<FieldControl>& control) {
    const auto data = std::dynamic_pointer_cast<DataFieldControl>(control);
    return data ? data->control() : std::nullopt;
}
