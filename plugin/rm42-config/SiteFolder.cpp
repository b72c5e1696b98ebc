// SPDX-License-Identifier: Apache-2.0
#include "SiteFolder.h"

#include "OutputFiles.h"
#include "ToolVersion.h"

#include <QDir>
#include <QRegularExpression>

SiteFolder::SiteFolder(QString folder, QString network) : m_folder(std::move(folder)) {
    m_manifest.network = std::move(network);
    m_manifest.saved = QDateTime::currentDateTimeUtc();
    m_manifest.toolVersion = toolVersion();
}

void SiteFolder::add(const ConfigurationFile& configuration) {
    const QString name = uniqueFileName(configuration.device);
    const QByteArray json = configurationJson(configuration);
    writeOutputFile(QDir(m_folder).filePath(name), json);
    m_names.insert(name.toLower());
    m_manifest.devices.push_back(
        {configuration.device, configuration.model, configuration.hvacType, name, sha256Of(json)});
    writeOutputFile(QDir(m_folder).filePath(ManifestFileName), manifestJson(m_manifest));
}

// Names that differ in case alone would collide on some file systems.
QString SiteFolder::uniqueFileName(const QString& devicePath) const {
    const QString name = configurationFileName(devicePath);
    QString unique = name;
    for (int n = 2; m_names.contains(unique.toLower()) ||
                    unique.compare(ManifestFileName, Qt::CaseInsensitive) == 0;
         ++n)
        unique = name.chopped(5) + QStringLiteral(" (%1).json").arg(n);
    return unique;
}

QString configurationFileName(const QString& devicePath) {
    QString name = devicePath;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")),
                 QStringLiteral("_"));
    if (name.startsWith(u'.'))
        name.prepend(u'_');
    return name + QStringLiteral(".json");
}
