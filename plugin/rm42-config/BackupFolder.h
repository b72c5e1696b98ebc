// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "SiteFolder.h"

#include <QString>
#include <optional>

// The backups of one apply run: a new folder inside the backup folder,
// named by the run's date and time ("2026-12-08T14-05-09", with "-2" and
// so on when that exists), holding each device's configuration before it
// was changed and a manifest, so that restore undoes the run. An earlier
// run's backups are never touched.
class BackupFolder {
public:
    BackupFolder(QString parent, QString network);

    // Saves the configuration; the first one makes the run's folder.
    // Throws FileProblem.
    void save(const ConfigurationFile& configuration);
    // Writes the run's manifest once every device is saved; throws FileProblem.
    void finish();

    // The run's folder; empty until the first save.
    QString folder() const { return m_site ? m_site->folder() : QString(); }

private:
    QString makeRunFolder() const;

    QString m_parent;
    QString m_network;
    std::optional<SiteFolder> m_site;
};
