// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>

class SettingsStore;

namespace lns::sim {

// A plug-in as it registered itself for host tools, under
// HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\<name>: its ProgID is the key's
// default value.
struct RegisteredPlugIn {
    QString name;
    QString progId;
    QString version;
};

// Every registered plug-in, in the store's order; none when the key is missing.
QList<RegisteredPlugIn> registeredPlugIns(SettingsStore& store);

} // namespace lns::sim
