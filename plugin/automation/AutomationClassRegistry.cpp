// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationClassRegistry.h"

#include "platform/SettingsStore.h"

namespace AutomationClassRegistry {

namespace {

QString localServerKey(const QString& progId) {
    return progId + QStringLiteral("\\LocalServer");
}

} // namespace

void registerServer(SettingsStore& store, const QString& progId, const QString& executablePath) {
    store.setValue(Hive::ClassesRoot, localServerKey(progId),
                   RegistryValue::string(QString(), executablePath));
}

bool unregisterServer(SettingsStore& store, const QString& progId) {
    return store.deleteTree(Hive::ClassesRoot, progId);
}

QString serverExecutable(SettingsStore& store, const QString& progId) {
    const auto value = store.value(Hive::ClassesRoot, localServerKey(progId), QString());
    if (!value || value->type != ValueType::String)
        return QString();
    return value->text();
}

} // namespace AutomationClassRegistry
