// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "ShownValues.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// A value in which two configurations differ, each side as shown in one
// unit system; a side that lacks the value has none.
struct FieldDifference {
    QString name;
    QString description;
    std::optional<ShownField> a;
    std::optional<ShownField> b;
};

// The values in which `b` differs from `a`: the model and the HVAC type,
// then fields and read-only values in the window's catalog order. Two texts
// differ only when the device would hold different bytes for them (the rule
// apply settles by: 20 and 20.00 are one value, and so are 74 ºF and the
// 73.99 ºF a device gives back), whatever unit system each was saved in.
std::vector<FieldDifference> differences(const ConfigurationFile& a, const ConfigurationFile& b,
                                         ShownValues& shown);

// Configurations by device path, in their side's order.
using Configurations = std::vector<std::pair<QString, ConfigurationFile>>;

struct DeviceComparison {
    enum class Outcome { Same, Differ, OnlyInA, OnlyInB };
    QString path;
    Outcome outcome = Outcome::Same;
    std::vector<FieldDifference> differences;
};

// Two sides compared device by device: with `byPath` the devices of one
// path are paired (the devices only one side holds are listed, A's order
// first, then B's), otherwise the first of each side is compared with the
// other's whatever their paths.
std::vector<DeviceComparison> compareDevices(const Configurations& a, const Configurations& b,
                                             bool byPath, ShownValues& shown);
