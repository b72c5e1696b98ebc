// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/FieldControl.h"

#include <array>
#include <memory>

// The controls of the configuration window that the field catalog binds.
struct FieldControls {
    static constexpr int TextBoxCount = 54;
    static constexpr int ComboBoxCount = 24;

    std::array<std::shared_ptr<FieldControl>, TextBoxCount> txtNvi;
    std::array<std::shared_ptr<FieldControl>, ComboBoxCount> cbNvi;
    std::shared_ptr<FieldControl> txtDebug;
    std::shared_ptr<FieldControl> lbModel;
    std::shared_ptr<FieldControl> lbHvacType;
};
