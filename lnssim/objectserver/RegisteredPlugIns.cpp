// SPDX-License-Identifier: Apache-2.0
#include "objectserver/RegisteredPlugIns.h"

#include "platform/SettingsStore.h"

namespace lns::sim {

namespace {

const QString PlugInsKey = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins");

QString text(SettingsStore& store, const QString& key, const QString& name) {
    const auto value = store.value(Hive::LocalMachine, key, name);
    return value && value->type == ValueType::String ? value->text() : QString();
}

} // namespace

QList<RegisteredPlugIn> registeredPlugIns(SettingsStore& store) {
    QList<RegisteredPlugIn> plugIns;
    for (const QString& name :
         store.subKeys(Hive::LocalMachine, PlugInsKey).value_or(QStringList())) {
        const QString key = PlugInsKey + QLatin1Char('\\') + name;
        plugIns.append(
            {name, text(store, key, QString()), text(store, key, QStringLiteral("Version"))});
    }
    return plugIns;
}

} // namespace lns::sim
