// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/SettingsStore.h"

#include <QString>
#include <optional>

// A full key name as users write it: a hive ("HKLM" or "HKEY_LOCAL_MACHINE",
// "HKCU", "HKCR", any letter case), then "\" and the path.
struct RegistryKeyName {
    Hive hive;
    QString path;

    static std::optional<RegistryKeyName> parse(const QString& fullName);
    static QString hiveName(Hive hive);
    QString fullName() const;
};
