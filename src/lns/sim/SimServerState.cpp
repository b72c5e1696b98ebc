#include "lns/sim/SimServerState.h"

#include <QThread>

namespace lns::sim {

void SimServerState::waitForTransaction() const {
    if (latencyMs > 0)
        QThread::msleep(static_cast<unsigned long>(latencyMs));
}

} // namespace lns::sim
