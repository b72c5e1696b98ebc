// SPDX-License-Identifier: Apache-2.0
#include "ActivityLogLines.h"

#include "OutputFiles.h"

#include <QDateTime>

namespace {

QString now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

void ActivityLogLines::LogCommand(const QString& command, const QString& Results) {
    m_rows.append({now(), command, Results});
}

void ActivityLogLines::LogError(const QString& message) {
    const QStringList lines = message.split(QStringLiteral("\r\n"));
    m_rows.append({now(), lines.size() >= 2 ? lines[0] : QString(),
                   lines.size() >= 2 ? lines[1] : QString()});
}

void ActivityLogLines::appendTo(const QString& path) {
    appendToOutputFile(path, activityLogText(m_rows));
    m_rows.clear();
}

void ActivityLogLines::LogUpdatingDevice(const QString& device) {
    if (m_writeNow)
        m_writeNow(activityLogText({{now(), QStringLiteral("Updating device"), device}}));
}
