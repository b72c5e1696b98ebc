// SPDX-License-Identifier: Apache-2.0
#include "platform/StringTable.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace StringTable {

namespace {

QHash<int, QString> load() {
    QFile file(QStringLiteral(":/strings.json"));
    QHash<int, QString> table;
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QJsonObject entries = QJsonDocument::fromJson(file.readAll()).object();
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        table.insert(entry.key().toInt(), entry.value().toString());
    return table;
}

} // namespace

QString text(int id) {
    static const QHash<int, QString> table = load();
    return table.value(id);
}

} // namespace StringTable
