// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Text for a line of a listing: control characters are written as escapes
// ("\t", "\n", "\r", "\x1B") so that a stored text cannot forge lines or
// columns of its own.
QString printable(const QString& text);
