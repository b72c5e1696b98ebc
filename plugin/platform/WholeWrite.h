// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QIODevice>

// Writes all of `data`, going on from where a short write stopped, so that a
// failure comes with the system's reason ("File too large", "No space left on
// device") in the device's errorString(). False when a write fails.
bool writeWhole(QIODevice& device, const QByteArray& data);
