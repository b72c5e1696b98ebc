// SPDX-License-Identifier: Apache-2.0
#include "objectserver/ChannelMedia.h"

#include <array>
#include <utility>

namespace lns::sim {

namespace {

// A transaction is a request and its reply of about 15 bytes each; with the
// preamble, checksum and the gaps of media access a packet takes about 2.5 ms
// of a 78 kbit/s channel, and collision avoidance leaves about half of the
// time usable: some 100 transactions a second at full use (installers aim
// for 40 % of that). A 1.25 Mbit/s pair carries 16 times as many; an IP
// channel is bounded by its routers rather than the wire.
constexpr std::array<std::pair<const char*, int>, 3> Media{{
    {"TP/FT-10", 100},
    {"TP/XF-1250", 1600},
    {"IP-852", 20000},
}};

} // namespace

ChannelRecord defaultChannel() {
    return {QString::fromLatin1(Media[0].first), Media[0].second};
}

std::optional<int> mediumCapacity(const QString& medium) {
    for (const auto& [name, capacity] : Media) {
        if (medium == QLatin1String(name))
            return capacity;
    }
    return std::nullopt;
}

} // namespace lns::sim
