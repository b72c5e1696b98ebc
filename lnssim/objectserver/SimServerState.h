// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/Journal.h"

#include <QString>

namespace lns::sim {

// What every object of one simulated Object Server shares: where the LonWorks
// folder is, the journal of calls, and the time one device transaction takes.
struct SimServerState {
    QString lonWorksFolder; // native path
    Journal journal;
    int latencyMs = 0;
    // A test's way to end the process abruptly at its n-th call (0: never).
    int killAtCall = 0;
    int calls = 0;

    // Every call of the Object Server starts here.
    void beginCall(const QString& line);
    // Stands for the time a read, write or test takes on the network.
    void waitForTransaction() const;
};

} // namespace lns::sim
