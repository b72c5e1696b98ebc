#pragma once

#include "lns/sim/Journal.h"

#include <QString>

namespace lns::sim {

// What every object of one simulated Object Server shares: where the LonWorks
// folder is, the journal of calls, and the time one device transaction takes.
struct SimServerState {
    QString lonWorksFolder; // native path
    Journal journal;
    int latencyMs = 0;

    // Stands for the time a read, write or test takes on the network.
    void waitForTransaction() const;
};

} // namespace lns::sim
