// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/ControlPlacement.h"
#include "model/CpLookup.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldControls.h"
#include "model/Specific.h"

#include <QString>
#include <memory>
#include <vector>

// A field of the catalog bound to a text box or combo box of the window.
struct PlacedField {
    std::shared_ptr<CNvCtrlTable> field;
    ControlPlacement placement;

    const QString& name() const { return field->Name; }
    // The item as the device formats it: the exact text a file keeps.
    QString item() const;
    // Written to the device by save and apply: not an identity value.
    bool configurable() const { return !placement.identity; }
    // A number with limits (every text box but the free-text location).
    bool numeric() const {
        return field->TheControl->kind() == FieldControl::Kind::TextBox && !placement.freeText &&
               !placement.identity;
    }
};

// The two catalogs of one thermostat (or of none, to check a file) in one
// unit system, with each field's place in the window.
class ConfigurationFields {
public:
    // Values are bound through `lookup`; without one they are bound to nothing.
    explicit ConfigurationFields(qint16 unitSystem, const CpLookupFunction& lookup = {},
                                 const lns::Ref<lns::System>& system = {});

    qint16 unitSystem() const { return m_specific->UnitSystem; }
    Specific& specific() { return *m_specific; }
    const Specific& specific() const { return *m_specific; }
    // The placed fields in catalog order.
    const std::vector<PlacedField>& placed() const { return m_placed; }
    const PlacedField* find(const QString& name) const;
    // The item text of any field of the catalog (labels included); empty when unread.
    QString itemOf(const QString& name) const;

private:
    // The catalogs point into Specific: it stays where it is.
    std::unique_ptr<Specific> m_specific;
    FieldControls m_controls;
    std::vector<PlacedField> m_placed;
};
