// SPDX-License-Identifier: Apache-2.0
#include "model/Specific.h"

#include "platform/StringTable.h"
#include "support/CRegistry.h"

namespace {

constexpr int ProgramIdScopeText = 150;
constexpr int ResourceFolderText = 151;
constexpr qint16 MakerResourceScope = 4;

} // namespace

Specific& Specific::process() {
    static Specific instance;
    return instance;
}

void InitResourceLocation(Specific& specific, SettingsStore& settings) {
    CRegistry registry(settings);
    const QString lonWorksPath = registry.MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                         QStringLiteral("LonWorks Path"));
    ResourceLocation& location = specific.ResourceLocations[0];
    location.path = lonWorksPath + StringTable::text(ResourceFolderText);
    location.programIdScope = StringTable::text(ProgramIdScopeText);
    location.scope = MakerResourceScope;
}
