// SPDX-License-Identifier: Apache-2.0
#include "model/CNvCtrlTable.h"

#include "model/RoundToStep.h"
#include "model/RuntimeErrors.h"

#include <QLocale>

namespace {

double limitNumber(const QString& text, const QString& source) {
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw RuntimeErrors::typeMismatch(source);
    return number;
}

} // namespace

QString CNvCtrlTable::MaxLimit(qint16 unitSystem) const {
    return shortestText(limitsFor(unitSystem).max);
}

void CNvCtrlTable::MaxLimit(qint16 unitSystem, const QString& limit) {
    limitsFor(unitSystem).max = limitNumber(limit, QStringLiteral("MaxLimit"));
}

QString CNvCtrlTable::MinLimit(qint16 unitSystem) const {
    return shortestText(limitsFor(unitSystem).min);
}

void CNvCtrlTable::MinLimit(qint16 unitSystem, const QString& limit) {
    limitsFor(unitSystem).min = limitNumber(limit, QStringLiteral("MinLimit"));
}

CNvCtrlTable::Limits& CNvCtrlTable::limitsFor(qint16 unitSystem) {
    return const_cast<Limits&>(std::as_const(*this).limitsFor(unitSystem));
}

const CNvCtrlTable::Limits& CNvCtrlTable::limitsFor(qint16 unitSystem) const {
    if (unitSystem < 0 || unitSystem >= static_cast<qint16>(m_limits.size()))
        throw RuntimeErrors::subscriptOutOfRange(Name);
    return m_limits[unitSystem];
}

QString CNvCtrlTable::DsFormatType() const {
    const auto& property = value().MyNetworkVariable;
    if (!property)
        throw RuntimeErrors::objectNotSet(Name);
    return property->DsFormatType();
}

void CNvCtrlTable::DsFormatType(const QString& formatType) {
    const auto& property = value().MyNetworkVariable;
    if (!property)
        throw RuntimeErrors::objectNotSet(Name);
    property->setDsFormatType(formatType);
}

QString CNvCtrlTable::NvString() const {
    return value().NvAsString();
}

QString CNvCtrlTable::Value() const {
    try {
        const QString item = itemText();
        // An unknown value stays unknown: rounded, "?" would pass for 0.
        if (!RoundValue || !NvCpTable->IsKnown(ItemArrayIndex))
            return item;
        return shortestText(RoundToStep(item, Ceiling));
    } catch (const Error&) {
        return controlText();
    }
}

void CNvCtrlTable::Value(const QString& text) {
    if (!NvCpTable)
        throw RuntimeErrors::objectNotSet(Name);
    NvCpTable->Edit(ItemArrayIndex, text);
}

void CNvCtrlTable::Initialize() {
    if (!NvCpTable)
        throw RuntimeErrors::objectNotSet(Name);
    NvCpTable->DropPendingEdits();
}

const CNvCpTable& CNvCtrlTable::value() const {
    if (!NvCpTable)
        throw RuntimeErrors::objectNotSet(Name);
    return *NvCpTable;
}

QString CNvCtrlTable::itemText() const {
    const QStringList items = value().NvAsArray();
    if (ItemArrayIndex < 0 || ItemArrayIndex >= items.size())
        throw RuntimeErrors::subscriptOutOfRange(Name);
    return items[ItemArrayIndex];
}

QString CNvCtrlTable::controlText() const {
    if (!TheControl || TheControl->kind() == FieldControl::Kind::Other)
        return QString();
    return TheControl->text();
}
