// SPDX-License-Identifier: Apache-2.0
#include "XifDescription.h"

#include <QStringList>

namespace XifDescription {

namespace {

using lns::sim::XifProperty;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString block(const lns::sim::XifBlock& declared) {
    return QStringLiteral("block %1 profile %2 %3 count %4")
        .arg(declared.index)
        .arg(declared.profile)
        .arg(quoted(declared.name))
        .arg(declared.count);
}

QString variable(const lns::sim::XifVariable& declared) {
    return QStringLiteral("variable %1 %2 %3 type %4 array %5 block %6")
        .arg(declared.index)
        .arg(quoted(declared.name),
             declared.output ? QStringLiteral("output") : QStringLiteral("input"))
        .arg(declared.typeIndex)
        .arg(declared.arraySize)
        .arg(declared.block < 0 ? QStringLiteral("none") : QString::number(declared.block));
}

QString target(const XifProperty& property) {
    QStringList selects;
    for (const int select : property.selects)
        selects << QString::number(select);
    switch (property.target) {
    case XifProperty::Target::Device:
        return QStringLiteral("device");
    case XifProperty::Target::LonMarkObject:
        return QStringLiteral("block ") + selects.join(QLatin1Char(','));
    case XifProperty::Target::NetworkVariable:
        return QStringLiteral("variable ") + selects.join(QLatin1Char(','));
    }
    return QString();
}

QString property(const XifProperty& declared) {
    const auto& record = *declared.record;
    QString size = QString::number(declared.elementSize);
    if (declared.elementCount > 1)
        size += QStringLiteral("[%1]").arg(declared.elementCount);
    return QStringLiteral("property %1 type %2CPT%3 applies to %4 size %5")
        .arg(quoted(record.name), record.scope == 0 ? QStringLiteral("S") : QStringLiteral("U"))
        .arg(record.typeIndex)
        .arg(target(declared), size);
}

} // namespace

QString describe(const lns::sim::XifDocument& document) {
    QStringList lines{QStringLiteral("program ID ") + document.programId};
    for (const auto& declared : document.blocks)
        lines << block(declared);
    for (const auto& declared : document.variables)
        lines << variable(declared);
    for (const auto& declared : document.properties)
        lines << property(declared);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace XifDescription
