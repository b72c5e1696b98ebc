#include "host/PlugInIdentity.h"

#include "platform/StringTable.h"

PlugInIdentity PlugInIdentity::load() {
    PlugInIdentity identity;
    identity.ProgID = StringTable::text(102);
    identity.Name = StringTable::text(101);
    identity.Version = QStringLiteral("%1.%2.%3")
                           .arg(RM42_VERSION_MAJOR)
                           .arg(RM42_VERSION_MINOR)
                           .arg(RM42_VERSION_PATCH);
    identity.Description = StringTable::text(103);
    identity.ManufacturerName = StringTable::text(104);
    identity.ManufacturerID = StringTable::text(105);
    return identity;
}

const PlugInIdentity& Identity() {
    static const PlugInIdentity identity = PlugInIdentity::load();
    return identity;
}
