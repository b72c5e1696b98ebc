// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

class SettingsStore;

// The platform's record of automation classes: ProgID to the executable that
// serves it, under HKEY_CLASSES_ROOT\<ProgID>\LocalServer.
namespace AutomationClassRegistry {

void registerServer(SettingsStore& store, const QString& progId, const QString& executablePath);
// True when the class was registered.
bool unregisterServer(SettingsStore& store, const QString& progId);
// The registered executable, or empty.
QString serverExecutable(SettingsStore& store, const QString& progId);

} // namespace AutomationClassRegistry
