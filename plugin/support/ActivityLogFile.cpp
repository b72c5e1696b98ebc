// SPDX-License-Identifier: Apache-2.0
#include "support/ActivityLogFile.h"

#include "platform/Error.h"
#include "platform/WholeWrite.h"

#include <QSaveFile>

namespace {

const QString Source = QStringLiteral("fLog.Save");

QString quoted(QString text) {
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

Error fileError(const QSaveFile& file) {
    return Error(static_cast<qint32>(file.error()), Source, file.errorString());
}

} // namespace

QByteArray activityLogText(const QList<ActivityLogRow>& rows) {
    QString text;
    for (const ActivityLogRow& row : rows) {
        text += quoted(row.time) + u',' + quoted(row.action) + u',' + quoted(row.results) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void saveActivityLog(const QString& path, const QList<ActivityLogRow>& rows) {
    QSaveFile file(path);
    // Unbuffered: a buffered file flushes only inside commit(), which ignores a
    // failed flush and puts a cut-off log in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw fileError(file);
    // An uncommitted file is discarded when it goes out of scope; the old one stays.
    if (!writeWhole(file, activityLogText(rows)) || !file.commit())
        throw fileError(file);
}
