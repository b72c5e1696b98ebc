// SPDX-License-Identifier: Apache-2.0
#include "JsonResults.h"

#include "CommandLine.h"
#include "DeviceConfiguration.h"
#include "ThermostatNetwork.h"

#include <QJsonDocument>

namespace {

QString outcomeName(DeviceOutcome::Result result) {
    switch (result) {
    case DeviceOutcome::Result::Changed:
        return QStringLiteral("changed");
    case DeviceOutcome::Result::Unchanged:
        return QStringLiteral("unchanged");
    case DeviceOutcome::Result::Skipped:
        return QStringLiteral("skipped");
    case DeviceOutcome::Result::Failed:
        break;
    }
    return QStringLiteral("failed");
}

} // namespace

JsonResults::JsonResults(const QString& command) {
    m_root.insert(QStringLiteral("command"), command);
}

void JsonResults::set(const QString& key, const QJsonValue& value) {
    m_root.insert(key, value);
}

void JsonResults::add(const QJsonObject& result) {
    m_results.append(result);
}

void JsonResults::print(QTextStream& out) const {
    QJsonObject summary{{QStringLiteral("total"), m_results.size()}};
    for (const QJsonValue& result : m_results) {
        const QString outcome = result.toObject().value(QStringLiteral("outcome")).toString();
        summary.insert(outcome, summary.value(outcome).toInt() + 1);
    }
    QJsonObject root = m_root;
    root.insert(QStringLiteral("results"), m_results);
    root.insert(QStringLiteral("summary"), summary);
    out << QJsonDocument(root).toJson(QJsonDocument::Indented);
    out.flush();
}

std::optional<JsonResults> jsonResults(const CommandLine& line, const QString& command,
                                       const ThermostatNetwork& network) {
    if (!line.has(QStringLiteral("--json")))
        return std::nullopt;
    JsonResults results(command);
    results.set(QStringLiteral("network"), network.name());
    return results;
}

QJsonObject outcomeJson(const DeviceOutcome& outcome) {
    QJsonArray changes;
    for (const FieldChange& change : outcome.changes)
        changes.append(QJsonObject{{QStringLiteral("field"), change.field},
                                   {QStringLiteral("old"), change.from},
                                   {QStringLiteral("new"), change.to}});
    QJsonObject result{{QStringLiteral("path"), outcome.device},
                       {QStringLiteral("outcome"), outcomeName(outcome.result)},
                       {QStringLiteral("changes"), changes}};
    if (!outcome.hiddenFields.isEmpty())
        result.insert(QStringLiteral("hiddenFields"),
                      QJsonArray::fromStringList(outcome.hiddenFields));
    if (!outcome.problems.empty())
        result.insert(QStringLiteral("problems"), problemsJson(outcome.problems));
    if (outcome.result == DeviceOutcome::Result::Failed ||
        outcome.result == DeviceOutcome::Result::Skipped)
        result.insert(QStringLiteral("error"), errorJson(outcome.reason, outcome.errorNumber));
    if (outcome.result == DeviceOutcome::Result::Failed)
        result.insert(QStringLiteral("sentValues"), QJsonArray::fromStringList(outcome.sentValues));
    return result;
}

QJsonObject errorJson(const QString& text, qint32 number) {
    return {{QStringLiteral("text"), text}, {QStringLiteral("number"), number}};
}

QJsonArray problemsJson(const std::vector<ValueProblem>& problems) {
    QJsonArray list;
    for (const ValueProblem& problem : problems)
        list.append(
            QJsonObject{{QStringLiteral("fields"), QJsonArray::fromStringList(problem.fields)},
                        {QStringLiteral("message"), problem.message}});
    return list;
}
