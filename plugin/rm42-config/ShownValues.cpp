// SPDX-License-Identifier: Apache-2.0
#include "ShownValues.h"

#include "FieldTexts.h"
#include "Thermostat.h"
#include "platform/Error.h"

ShownValues::ShownValues(qint16 units) : m_units(units) {}

const ConfigurationFields& ShownValues::catalog(qint16 units, const QString& hvacType) {
    std::unique_ptr<ConfigurationFields>& kept =
        m_catalogs[{units, Thermostat::isHeatPumpType(hvacType)}];
    if (!kept) {
        kept = std::make_unique<ConfigurationFields>(units);
        Thermostat::formGeneralOptions(*kept, hvacType);
    }
    return *kept;
}

ShownField ShownValues::field(const ConfigurationFile& file, const QString& name,
                              const QString& text) {
    const PlacedField* from = catalog(file.unitSystem, file.hvacType).find(name);
    const PlacedField* to = catalog(m_units, file.hvacType).find(name);
    ShownField shown{name, QString(), -1, QString(), text};
    if (!from || !to) {
        const ConfigurationFields& fields = catalog(m_units, file.hvacType);
        if (fields.specific().NvCtrlTables.Contains(name))
            shown.description = fields.specific().NvCtrlTables.Item(name)->Description;
        return shown;
    }
    shown.description = to->field->Description;
    shown.tab = to->placement.tab;
    // A time of day "07:00" needs no unit.
    if (!isTimeOfDay(*to))
        shown.unit = unitCaption(to->placement.unit, m_units);
    if (file.unitSystem == m_units) {
        shown.text = fileText(*to, text);
        return shown;
    }
    try {
        const QByteArray held =
            from->field->NvCpTable->EncodedItem(from->field->ItemArrayIndex, text);
        shown.text =
            fileText(*to, to->field->NvCpTable->FormattedItem(to->field->ItemArrayIndex, held));
    } catch (const Error&) {
        // Not a value the device holds: shown as written, in its own units.
        shown.text = fileText(*from, text);
        if (!isTimeOfDay(*from))
            shown.unit = unitCaption(from->placement.unit, file.unitSystem);
    }
    return shown;
}

std::vector<ShownField> ShownValues::fieldsOf(const ConfigurationFile& file) {
    const QMap<QString, QString> values = allValues(file);
    std::vector<ShownField> shown;
    QMap<QString, QString> unplaced = values;
    for (const PlacedField& placed : catalog(m_units, file.hvacType).placed()) {
        const auto value = values.constFind(placed.name());
        if (value == values.constEnd())
            continue;
        shown.push_back(field(file, placed.name(), *value));
        unplaced.remove(placed.name());
    }
    for (auto it = unplaced.cbegin(); it != unplaced.cend(); ++it)
        shown.push_back(field(file, it.key(), it.value()));
    return shown;
}

QMap<QString, QString> allValues(const ConfigurationFile& file) {
    QMap<QString, QString> values = file.readOnly;
    values.insert(file.fields);
    return values;
}
