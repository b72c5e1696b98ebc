// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimServerState.h"

#include <QThread>
#include <csignal>

namespace lns::sim {

void SimServerState::beginCall(const QString& line) {
    journal.record(line);
    if (killAtCall > 0 && ++calls == killAtCall)
        std::raise(SIGKILL);
}

void SimServerState::waitForTransaction() const {
    if (latencyMs > 0)
        QThread::msleep(static_cast<unsigned long>(latencyMs));
}

} // namespace lns::sim
