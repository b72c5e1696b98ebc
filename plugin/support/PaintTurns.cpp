// SPDX-License-Identifier: Apache-2.0
#include "support/PaintTurns.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 FrameMs = 16;

QElapsedTimer& sinceLastTurn() {
    static QElapsedTimer timer;
    return timer;
}

} // namespace

void PaintTurns::letWindowsPaint() {
    if (sinceLastTurn().isValid() && sinceLastTurn().elapsed() < FrameMs)
        return;
    letWindowsPaintNow();
}

void PaintTurns::letWindowsPaintNow() {
    sinceLastTurn().start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
