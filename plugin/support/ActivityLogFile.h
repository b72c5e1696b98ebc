// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One row of the activity log as it is saved.
struct ActivityLogRow {
    QString time;
    QString action;
    QString results;
};

// The saved form of the log: one line per row, its three texts each in
// double quotes, separated by commas, ending with CR LF. A quote inside a
// text is doubled, so that every reader of comma-separated files gets the
// text back.
QByteArray activityLogText(const QList<ActivityLogRow>& rows);

// Replaces the file at `path` with the rows in one step: a failure leaves an
// existing file as it was. Throws Error with the file error's number and the
// system's reason.
void saveActivityLog(const QString& path, const QList<ActivityLogRow>& rows);
