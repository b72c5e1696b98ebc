#include "ActivityLogLines.h"

#include <QTime>

namespace {

QString now() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

QString quoted(QString text) {
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

void ActivityLogLines::LogCommand(const QString& command, const QString& results) {
    m_rows.append({now(), command, results});
}

void ActivityLogLines::LogError(const QString& message) {
    const QStringList lines = message.split(QStringLiteral("\r\n"));
    m_rows.append({now(), lines.size() >= 2 ? lines[0] : QString(),
                   lines.size() >= 2 ? lines[1] : QString()});
}

QByteArray ActivityLogLines::text() const {
    QString text;
    for (const Row& row : m_rows)
        text += quoted(row.time) + u',' + quoted(row.action) + u',' + quoted(row.results) +
                QStringLiteral("\r\n");
    return text.toUtf8();
}
