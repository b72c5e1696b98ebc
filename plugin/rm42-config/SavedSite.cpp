// SPDX-License-Identifier: Apache-2.0
#include "SavedSite.h"

#include "ConfigurationFields.h"
#include "InputFile.h"
#include "ThermostatNetwork.h"

#include <QDir>
#include <QFileInfo>

namespace {

SavedSiteDevice savedDevice(const QString& folder, const ManifestEntry& entry,
                            const ConfigurationFields& catalog) {
    SavedSiteDevice saved{entry.device, entry.file, std::nullopt, QString()};
    const QString path = QDir(folder).filePath(entry.file);
    try {
        const QByteArray contents = readInputFile(path);
        if (sha256Of(contents) != entry.sha256)
            saved.failure = QStringLiteral("%1 is not the file saved for it (its checksum differs "
                                           "from the manifest's)")
                                .arg(entry.file);
        else
            saved.configuration =
                parseConfigurationFile(path, contents, thermostatProgramId(), catalog);
    } catch (const FileProblem& problem) {
        saved.failure = problem.message();
    }
    return saved;
}

} // namespace

SavedSite readSavedSite(const QString& folder) {
    SavedSite site{folder, readManifest(folder), {}};
    const ConfigurationFields catalog(ConfigurationFile::SavedUnitSystem);
    for (const ManifestEntry& entry : site.manifest.devices)
        site.devices.push_back(savedDevice(folder, entry, catalog));
    return site;
}

bool isSiteFolder(const QString& path) {
    return QFileInfo(path).isDir() && QFileInfo(QDir(path).filePath(ManifestFileName)).exists();
}
