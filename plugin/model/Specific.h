// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/CNvCpTable.h"
#include "model/CNvCtrlTable.h"
#include "model/KeyedCollection.h"

#include <QString>
#include <array>

class SettingsStore;

// Where the maker's LonMark resource files are found.
struct ResourceLocation {
    QString path;
    QString programIdScope;
    qint16 scope = 0;
};

// The plug-in's process-wide device state: the two catalogs of the device
// being configured, the display units, the maker's resource location.
struct Specific {
    static constexpr qint16 Metric = 0;
    static constexpr qint16 Imperial = 1;

    // The one instance of the running plug-in.
    static Specific& process();

    KeyedCollection<CNvCpTable> NvCpTables{QStringLiteral("NvCpTables")};
    KeyedCollection<CNvCtrlTable> NvCtrlTables{QStringLiteral("NvCtrlTables")};
    qint16 UnitSystem = Imperial;
    std::array<ResourceLocation, 1> ResourceLocations;
};

// Fills ResourceLocations entry 0 from the machine setting "LonWorks Path".
void InitResourceLocation(Specific& specific, SettingsStore& settings);
