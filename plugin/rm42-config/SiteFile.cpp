// SPDX-License-Identifier: Apache-2.0
#include "SiteFile.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"

#include <QDir>
#include <QFileInfo>

QString siteFilePath(const QString& folder, const QString& name) {
    const QFileInfo site(QDir::cleanPath(folder));
    if (site.isSymLink())
        throw FileProblem(echoed(folder) +
                          QStringLiteral(": a symbolic link to %1; give the backup folder itself")
                              .arg(echoed(site.symLinkTarget())));
    const QString path = QDir(folder).filePath(name);
    const QFileInfo file(path);
    // A broken link is left to the reading, which names it as missing.
    const QString target = file.canonicalFilePath();
    if (file.isSymLink() && !target.isEmpty() &&
        QFileInfo(target).absolutePath() != site.canonicalFilePath())
        throw FileProblem(echoed(path) +
                          QStringLiteral(": a link to %1, outside the backup folder: refused")
                              .arg(echoed(target)));
    return path;
}
