// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The version of the program, the project's.
inline QString toolVersion() {
    return QStringLiteral(RM42_TOOL_VERSION);
}
