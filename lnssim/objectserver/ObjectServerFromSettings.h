// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/SimObjectServer.h"

#include <memory>

class SettingsStore;

namespace lns::sim {

// The simulated Object Server over the LonWorks folder that the machine setting
// "LonWorks Path" under SOFTWARE\LonWorks names. Not opened yet; without the
// setting, opening fails with a message that says how to lay the folder out,
// and with a store that cannot be read, with the store's own failure.
// Its calls are not kept in memory (keepJournal turns that on).
std::unique_ptr<SimObjectServer> objectServerFromSettings(SettingsStore& store);

} // namespace lns::sim
