// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The message of an LNS error code; empty for codes without one.
QString LnsErrorText(qint16 code);
