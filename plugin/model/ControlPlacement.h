// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/ModelLayout.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where the configuration window puts each value control, for front ends
// that present the fields without the window: the tab, the model-dependent
// frame around it, the unit beside it and a combo box's items.
enum class ControlArray { TextBox, ComboBox };

struct ControlId {
    ControlArray array = ControlArray::TextBox;
    int index = 0;
};

enum class ValueUnit { None, Temperature, Seconds, Minutes, Hours, Percent };

// The frames that the model-dependent layout shows, hides or disables.
enum class LayoutFrame { None, ProgRecovery, HeatingStages, StageFrame, HeatPump, Economizer };

struct ControlPlacement {
    int tab = 0;
    LayoutFrame frame = LayoutFrame::None;
    ValueUnit unit = ValueUnit::None;
    // Items of a combo box; empty for a text box.
    QStringList items;
    // The versions and the model identify the device: shown, never written.
    bool identity = false;
    // Free text (the location): neither a number nor limited.
    bool freeText = false;
};

// The captions of the eight tabs, in order.
const QStringList& tabCaptions();

// The placement of text box txtNvi(index) or combo box cbNvi(index); the
// deadband items follow the unit system. Nothing for an index the window
// does not have.
std::optional<ControlPlacement> placementOf(ControlId control, int unitSystem);

// The unit caption: "ºF"/"ºC" for temperatures, "Sec", "min", "Hours", "%".
QString unitCaption(ValueUnit unit, int unitSystem);

// Whether a control so placed is shown and enabled under the layout; a frame
// the layout leaves unset counts as shown.
bool isAvailable(const ControlPlacement& placement, const ModelLayout& layout);
