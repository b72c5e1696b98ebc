// SPDX-License-Identifier: Apache-2.0
#include "support/PaintTurns.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 FrameMs = 16;

} // namespace

void PaintTurns::letWindowsPaint() {
    static QElapsedTimer sinceLastTurn;
    if (sinceLastTurn.isValid() && sinceLastTurn.elapsed() < FrameMs)
        return;
    sinceLastTurn.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
