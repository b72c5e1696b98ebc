// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimServerState.h"

#include <csignal>

namespace lns::sim {

void SimServerState::beginCall(const QString& line) {
    journal.record(line);
    if (killAtCall > 0 && ++calls == killAtCall)
        std::raise(SIGKILL);
}

} // namespace lns::sim
