// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/Journal.h"

#include <QString>
#include <optional>

namespace lns::sim {

// What every object of one simulated Object Server shares: where the LonWorks
// folder is, the journal of calls, the time one device transaction takes and
// the channel capacity that replaces each network's own, when one does.
struct SimServerState {
    QString lonWorksFolder; // native path
    Journal journal;
    int latencyMs = 0;
    std::optional<double> channelCapacity; // transactions a second; 0: no limit
    // A test's way to end the process abruptly at its n-th call (0: never).
    int killAtCall = 0;
    int calls = 0;

    // Every call of the Object Server starts here.
    void beginCall(const QString& line);
};

} // namespace lns::sim
