// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "JsonResults.h"

#include <QString>
#include <QTextStream>

// What a run that reads devices (save of a site, report) prints: a line per
// device in the targets' order, "PATH: saved" or "PATH: failed: WHY", and a
// summary; given `json`, the same goes there as results ("outcome" the
// verb or "failed") and nothing is printed.
class ReadingReport {
public:
    ReadingReport(QTextStream& out, QString verb, JsonResults* json = nullptr);

    // A device done; an empty `failure` is a success. `more` adds to its result.
    void report(const QString& path, const QString& failure, qint32 errorNumber,
                const QJsonObject& more = {});
    // The summary line; the exit status of the run.
    int finish();

private:
    QTextStream& m_out;
    QString m_verb;
    JsonResults* m_json;
    int m_done = 0;
    int m_failed = 0;
};
