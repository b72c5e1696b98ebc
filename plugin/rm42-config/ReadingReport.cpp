// SPDX-License-Identifier: Apache-2.0
#include "ReadingReport.h"

#include "CommandLine.h"
#include "platform/PrintableText.h"

ReadingReport::ReadingReport(QTextStream& out, QString verb, JsonResults* json)
    : m_out(out), m_verb(std::move(verb)), m_json(json) {}

void ReadingReport::report(const QString& path, const QString& failure, qint32 errorNumber,
                           const QJsonObject& more) {
    const bool failed = !failure.isEmpty();
    m_failed += failed;
    m_done += !failed;
    if (m_json) {
        QJsonObject result = more;
        result.insert(QStringLiteral("path"), path);
        result.insert(QStringLiteral("outcome"), failed ? QStringLiteral("failed") : m_verb);
        if (failed)
            result.insert(QStringLiteral("error"), errorJson(failure, errorNumber));
        m_json->add(result);
        return;
    }
    m_out << printable(path) << (failed ? QStringLiteral(": failed: ") + failure : ": " + m_verb)
          << '\n';
    m_out.flush();
}

int ReadingReport::finish() {
    const int count = m_done + m_failed;
    if (!m_json)
        m_out << count << (count == 1 ? " device: " : " devices: ") << m_done << ' ' << m_verb
              << ", " << m_failed << " failed\n";
    return m_failed == 0 ? ExitStatus::Done : ExitStatus::SomeDeviceFailed;
}
