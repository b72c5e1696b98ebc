// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ResourceCatalog.h"

#include <QString>

class Dialogs;
class SettingsStore;
struct PlugInState;

// The maker's resource files in the LonMark resource catalog: adding their
// folder when commands are registered, and checking they are there before a
// device is configured.
class ResourceCatalogRegistration {
public:
    ResourceCatalogRegistration(PlugInState& state, SettingsStore& store, Dialogs& dialogs,
                                lns::ResourceCatalogFactory catalogs)
        : m_state(state), m_store(store), m_dialogs(dialogs), m_catalogs(std::move(catalogs)) {}

    // Adds the resource folder unless the catalog knows it. False when it
    // could not be done and the user chose Abort.
    bool Register(bool remote);
    // True when the maker's resource files are in the catalog; after one
    // success it answers true without looking again.
    bool Check();

private:
    QString lonWorksFolder() const;

    PlugInState& m_state;
    SettingsStore& m_store;
    Dialogs& m_dialogs;
    lns::ResourceCatalogFactory m_catalogs;
};
