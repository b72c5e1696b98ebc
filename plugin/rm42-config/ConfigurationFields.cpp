// SPDX-License-Identifier: Apache-2.0
#include "ConfigurationFields.h"

#include "model/DataFieldControl.h"
#include "model/FieldCatalog.h"

QString PlacedField::item() const {
    return field->NvCpTable->NvAsArray().value(field->ItemArrayIndex);
}

ConfigurationFields::ConfigurationFields(qint16 unitSystem, const CpLookupFunction& lookup,
                                         const lns::Ref<lns::System>& system)
    : m_specific(std::make_unique<Specific>()), m_controls(dataFieldControls()) {
    m_specific->UnitSystem = unitSystem;
    BuildNvCpTables(
        *m_specific,
        lookup ? lookup : [](const QString&) { return lns::Ref<lns::ConfigProperty>(); }, system);
    BuildNvCtrlTables(*m_specific, m_controls);
    for (const auto& field : m_specific->NvCtrlTables) {
        const std::optional<ControlId> control = controlOf(field->TheControl);
        if (!control)
            continue;
        if (const auto placement = placementOf(*control, unitSystem))
            m_placed.push_back({field, *placement});
    }
}

const PlacedField* ConfigurationFields::find(const QString& name) const {
    for (const PlacedField& placed : m_placed) {
        if (placed.name() == name)
            return &placed;
    }
    return nullptr;
}

QString ConfigurationFields::itemOf(const QString& name) const {
    if (!m_specific->NvCtrlTables.Contains(name))
        return QString();
    const auto& field = m_specific->NvCtrlTables.Item(name);
    return field->NvCpTable->NvAsArray().value(field->ItemArrayIndex);
}
