#include "ActivityLogLines.h"

#include <QTime>

namespace {

QString now() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
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
