// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/KeyedCollection.h"

#include <QString>
#include <optional>

class CNvCtrlTable;

// The wanted state of the model-dependent parts of the configuration window.
struct ModelLayout {
    // The field "prog_rec", frmProgRecovery and tab 4 ("Scheduler").
    bool schedulingEnabled = true;
    bool modelTabEnabled = true; // tab 3 ("Model")
    bool heatingStagesShown = true;
    QString stageFrameCaption;
    bool stageFrameShown = true;
    // Empty: leave the frame as it is.
    std::optional<bool> heatPumpShown;
    std::optional<bool> economizerShown;
};

// The layout for a model number; 0 is the off-net layout, where the HVAC
// type choice decides the heat-pump and economizer frames.
ModelLayout modelLayoutFor(qint16 model);

// The model number in the raw model value, which the device gives as hex
// byte pairs ("0C 01 04" is model 12): the first pair read as hexadecimal;
// 0 when there is none.
qint16 ModelNumberOfRaw(const QString& raw);

// Enables or disables the control of the first field named `name` (exact
// name); nothing happens when there is no such field.
void EnableFieldControl(const KeyedCollection<CNvCtrlTable>& fields, const QString& name,
                        bool enabled);
