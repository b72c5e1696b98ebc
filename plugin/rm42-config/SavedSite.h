// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "SiteManifest.h"

#include <QString>
#include <optional>
#include <vector>

// One device of a site folder: its saved configuration, or why that file
// cannot be used.
struct SavedSiteDevice {
    QString device;
    QString file;
    std::optional<ConfigurationFile> configuration;
    QString failure;
};

// A folder written by save --all read without a network, for looking at:
// every device of its manifest in the manifest's order, each file checked
// against its checksum and its form (its values are shown as saved, not
// judged).
struct SavedSite {
    QString folder;
    SiteManifest manifest;
    std::vector<SavedSiteDevice> devices;
};

// Throws FileProblem when the manifest cannot be read; a device whose file
// cannot is kept with its failure.
SavedSite readSavedSite(const QString& folder);

// Whether the path is a folder holding a site's manifest.
bool isSiteFolder(const QString& path);
