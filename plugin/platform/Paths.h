// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The system's texts write paths with "\" and, as on the original platform,
// without regard to letter case. These turn them into paths of this machine.
namespace Paths {

// "\" becomes "/"; each component that exists under another letter case is
// replaced by the existing entry, so "\types\User" finds "Types/User".
QString toNative(const QString& systemPath);

// "/" becomes "\" (for texts shown to the user and stored in the system's form).
QString toSystem(const QString& nativePath);

} // namespace Paths
