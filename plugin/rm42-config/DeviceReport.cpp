// SPDX-License-Identifier: Apache-2.0
#include "DeviceReport.h"

#include "CommandLine.h"
#include "platform/PrintableText.h"

namespace {

QString fieldList(const QStringList& fields) {
    return fields.join(QStringLiteral(", "));
}

} // namespace

DeviceReport::DeviceReport(QTextStream& out, QTextStream& err, int deviceCount, bool dryRun,
                           JsonResults* json)
    : m_out(out), m_progress(err, deviceCount), m_deviceCount(deviceCount), m_dryRun(dryRun),
      m_json(json) {
    if (m_json)
        m_json->set(QStringLiteral("dryRun"), dryRun);
}

void DeviceReport::report(const DeviceOutcome& outcome) {
    m_progress.clear();
    using Result = DeviceOutcome::Result;
    m_changed += outcome.result == Result::Changed;
    m_unchanged += outcome.result == Result::Unchanged;
    m_skipped += outcome.result == Result::Skipped;
    m_failed += outcome.result == Result::Failed;
    if (m_json) {
        m_json->add(outcomeJson(outcome));
        return;
    }
    m_out << printable(outcome.device) << ": ";
    switch (outcome.result) {
    case Result::Changed:
        m_out << (m_dryRun ? "would change " : "changed ") << outcome.changes.size()
              << (outcome.changes.size() == 1 ? " field" : " fields");
        break;
    case Result::Unchanged:
        m_out << "unchanged";
        break;
    case Result::Skipped:
        m_out << "skipped: " << outcome.reason;
        break;
    case Result::Failed:
        m_out << "failed: " << outcome.reason;
        m_out << "; values written before: "
              << (outcome.sentValues.isEmpty() ? QStringLiteral("none")
                                               : fieldList(outcome.sentValues));
        break;
    }
    if (!outcome.hiddenFields.isEmpty())
        m_out << " (not written, hidden or disabled on its model: "
              << fieldList(outcome.hiddenFields) << ')';
    m_out << '\n';
    for (const ValueProblem& problem : outcome.problems)
        m_out << "  " << problem.text() << '\n';
    if (m_dryRun) {
        for (const FieldChange& change : outcome.changes)
            m_out << "  " << change.field << ": " << change.from << " -> " << change.to << '\n';
    }
    m_out.flush();
}

int DeviceReport::finish() {
    m_progress.clear();
    const int status = m_skipped + m_failed == 0 ? ExitStatus::Done : ExitStatus::SomeDeviceFailed;
    if (m_json)
        return status;
    m_out << m_deviceCount << (m_deviceCount == 1 ? " device: " : " devices: ") << m_changed
          << (m_dryRun ? " would change, " : " changed, ") << m_unchanged << " unchanged, "
          << m_skipped << " skipped, " << m_failed << " failed"
          << (m_dryRun ? " (dry run: nothing written)" : "") << '\n';
    m_out.flush();
    return status;
}
