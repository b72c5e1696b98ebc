// SPDX-License-Identifier: Apache-2.0
#include "BackupFolder.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"
#include "OutputFiles.h"

#include <QDateTime>
#include <QDir>

BackupFolder::BackupFolder(QString parent, QString network)
    : m_parent(std::move(parent)), m_network(std::move(network)) {}

void BackupFolder::save(const ConfigurationFile& configuration) {
    if (!m_site)
        m_site.emplace(makeRunFolder(), m_network);
    m_site->add(configuration);
}

void BackupFolder::finish() {
    if (m_site)
        m_site->finish();
}

QString BackupFolder::makeRunFolder() const {
    makeFolder(m_parent);
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
    // mkdir fails on a folder that exists: another run of this second has it.
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? stamp : stamp + QStringLiteral("-%1").arg(n);
        const QString folder = QDir(m_parent).filePath(name);
        if (QDir(m_parent).mkdir(name))
            return folder;
        if (!QFileInfo::exists(folder))
            break;
    }
    throw FileProblem(echoed(m_parent) +
                      QStringLiteral(": no folder for this run's backups can be made"));
}
