// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"

#include <QString>
#include <optional>

namespace lns::sim {

// The channel of a system whose description names none: 78 kbit/s twisted
// pair, the usual one in a building.
ChannelRecord defaultChannel();

// The transactions a second a channel of the medium carries at full use, for
// the media this simulation knows; nothing for another.
std::optional<int> mediumCapacity(const QString& medium);

} // namespace lns::sim
