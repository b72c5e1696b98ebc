// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The word the status bar shows for a device state: "Cnfg Online" for 4 and
// so on, "?" for a state the plug-in does not know.
QString DeviceStateWord(int state);

// Only a configured device on line can be monitored.
constexpr int ConfiguredOnline = 4;
