// SPDX-License-Identifier: Apache-2.0
#include "SiteFolder.h"

#include "OutputFiles.h"
#include "ToolVersion.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

SiteFolder::SiteFolder(QString folder, QString network) : m_folder(std::move(folder)) {
    m_manifest.network = std::move(network);
    m_manifest.saved = QDateTime::currentDateTimeUtc();
    m_manifest.toolVersion = toolVersion();
}

SiteFolder::~SiteFolder() {
    try {
        finish();
    } catch (const FileProblem&) {
        // The journal stays, and restore reads it.
    }
}

void SiteFolder::add(const ConfigurationFile& configuration) {
    const QString name = uniqueFileName(configuration.device);
    const QByteArray json = configurationJson(configuration);
    writeOutputFile(QDir(m_folder).filePath(name), json);
    m_names.insert(name.toLower());
    const ManifestEntry entry{configuration.device, configuration.model, configuration.hvacType,
                              name, sha256Of(json)};
    appendToOutputFile(QDir(m_folder).filePath(JournalFileName),
                       (m_manifest.devices.empty() ? journalHeadLine(m_manifest) : QByteArray()) +
                           journalEntryLine(entry));
    m_manifest.devices.push_back(entry);
    m_finished = false;
}

void SiteFolder::finish() {
    if (m_finished || m_manifest.devices.empty())
        return;
    writeOutputFile(QDir(m_folder).filePath(ManifestFileName), manifestJson(m_manifest));
    QFile::remove(QDir(m_folder).filePath(JournalFileName));
    m_finished = true;
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
