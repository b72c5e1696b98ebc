// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "SiteManifest.h"

#include <QSet>
#include <QString>

// A folder of saved device configurations and its manifest. Each device's
// file is named after its subsystem path, so that devices of one name in
// different subsystems keep files of their own; the manifest is written
// again after every file, so a run that stops part way leaves a folder that
// can be restored as far as it got.
class SiteFolder {
public:
    // `folder` exists.
    SiteFolder(QString folder, QString network);

    // Writes the configuration and the manifest; throws FileProblem.
    void add(const ConfigurationFile& configuration);

    const QString& folder() const { return m_folder; }

private:
    QString uniqueFileName(const QString& devicePath) const;

    QString m_folder;
    SiteManifest m_manifest;
    QSet<QString> m_names;
};

// The file name a device's configuration gets in a folder: its path with
// the characters no file name can hold made "_", as in "Floor 1_RTU-1.json".
QString configurationFileName(const QString& devicePath);
