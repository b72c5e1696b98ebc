// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <optional>
#include <vector>

struct CommandLine;
struct DeviceOutcome;
struct ValueProblem;
class ThermostatNetwork;

// What a run prints with --json instead of its text: one document on
// standard output once the run is over,
//   { "command": ..., (what the command adds: "network", "dryRun", ...)
//     "results": [ { "path": ..., "outcome": ..., ... } ... ],
//     "summary": { "total": N, and a count per outcome } }
// with one result per device (or file) in the order the text lists them.
class JsonResults {
public:
    explicit JsonResults(const QString& command);

    void set(const QString& key, const QJsonValue& value);
    void add(const QJsonObject& result);
    // The document; the summary counts the results by their outcome.
    void print(QTextStream& out) const;

private:
    QJsonObject m_root;
    QJsonArray m_results;
};

// The results of a run over the network's devices, when the command line
// asks for them with --json.
std::optional<JsonResults> jsonResults(const CommandLine& line, const QString& command,
                                       const ThermostatNetwork& network);

// The result of applying to one device: its outcome ("changed",
// "unchanged", "skipped", "failed"), the fields changed (or that would
// change) with their old and new values, and what the text tells besides.
QJsonObject outcomeJson(const DeviceOutcome& outcome);

// {"text": ..., "number": ...} of a failure; the number is the error's, 0
// for a failure of the program's own.
QJsonObject errorJson(const QString& text, qint32 number);

QJsonArray problemsJson(const std::vector<ValueProblem>& problems);
