// SPDX-License-Identifier: Apache-2.0
#include "platform/RegistryKeyName.h"

namespace {

struct HiveSpelling {
    const char* shortName;
    const char* longName;
    Hive hive;
};

constexpr HiveSpelling Hives[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE", Hive::LocalMachine},
    {"HKCU", "HKEY_CURRENT_USER", Hive::CurrentUser},
    {"HKCR", "HKEY_CLASSES_ROOT", Hive::ClassesRoot},
};

} // namespace

std::optional<RegistryKeyName> RegistryKeyName::parse(const QString& fullName) {
    const qsizetype separator = fullName.indexOf(QLatin1Char('\\'));
    const QString head = separator < 0 ? fullName : fullName.left(separator);
    const QString path = separator < 0 ? QString() : fullName.mid(separator + 1);
    for (const HiveSpelling& spelling : Hives) {
        if (head.compare(QLatin1String(spelling.shortName), Qt::CaseInsensitive) == 0 ||
            head.compare(QLatin1String(spelling.longName), Qt::CaseInsensitive) == 0)
            return RegistryKeyName{spelling.hive,
                                   SettingsStore::splitPath(path).join(QLatin1Char('\\'))};
    }
    return std::nullopt;
}

QString RegistryKeyName::hiveName(Hive hive) {
    for (const HiveSpelling& spelling : Hives) {
        if (spelling.hive == hive)
            return QLatin1String(spelling.longName);
    }
    return QString();
}

QString RegistryKeyName::fullName() const {
    return path.isEmpty() ? hiveName(hive) : hiveName(hive) + QLatin1Char('\\') + path;
}
