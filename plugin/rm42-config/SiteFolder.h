// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "SiteManifest.h"

#include <QSet>
#include <QString>

// A folder of saved device configurations and its manifest. Each device's
// file is named after its subsystem path, so that devices of one name in
// different subsystems keep files of their own. Each file's entry is added
// to the manifest's journal as the file is written, and the manifest is
// written once, at the end: a run that stops part way leaves a folder that
// can be restored as far as it got, at a cost that does not grow with the
// devices saved before.
class SiteFolder {
public:
    // `folder` exists.
    SiteFolder(QString folder, QString network);
    // Finishes a folder the caller did not (a run that ends with an error).
    ~SiteFolder();
    SiteFolder(SiteFolder&&) = delete;

    // Writes the configuration and its entry in the journal; throws FileProblem.
    void add(const ConfigurationFile& configuration);
    // Writes the manifest of what was added, if anything was, and removes
    // the journal; throws FileProblem.
    void finish();

    const QString& folder() const { return m_folder; }

private:
    QString uniqueFileName(const QString& devicePath) const;

    QString m_folder;
    SiteManifest m_manifest;
    bool m_finished = false;
    QSet<QString> m_names;
};

// The file name a device's configuration gets in a folder: its path with
// the characters no file name can hold made "_", as in "Floor 1_RTU-1.json".
QString configurationFileName(const QString& devicePath);
