// SPDX-License-Identifier: Apache-2.0
#include "support/PlugInIdentity.h"

#include "platform/StandardOptions.h"
#include "platform/StringTable.h"

PlugInIdentity PlugInIdentity::load() {
    PlugInIdentity identity;
    identity.ProgID = StringTable::text(102);
    identity.Name = StringTable::text(101);
    identity.Version = StandardOptions::version();
    identity.Description = StringTable::text(103);
    identity.ManufacturerName = StringTable::text(104);
    identity.ManufacturerID = StringTable::text(105);
    return identity;
}

const PlugInIdentity& Identity() {
    static const PlugInIdentity identity = PlugInIdentity::load();
    return identity;
}
