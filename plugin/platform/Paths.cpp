// SPDX-License-Identifier: Apache-2.0
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace Paths {

namespace {

// The entry of `folder` whose name equals `name` without regard to case, or `name`.
QString matchingEntry(const QString& folder, const QString& name) {
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString toNative(const QString& systemPath) {
    QString path = systemPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = path.startsWith(QLatin1Char('/'));
    QStringList resolved;
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const bool special = part == QLatin1String(".") || part == QLatin1String("..");
        const QString entry = special ? part : matchingEntry(current, part);
        resolved << entry;
        current += (current.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + entry;
    }
    QString result = (absolute ? QStringLiteral("/") : QString()) + resolved.join(QLatin1Char('/'));
    if (path.endsWith(QLatin1Char('/')) && !result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

QString toSystem(const QString& nativePath) {
    QString path = nativePath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

} // namespace Paths
