// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/ActivityLog.h"
#include "support/ActivityLogFile.h"

#include <QList>
#include <QString>

// The activity of a run, kept as the log window keeps it, each row stamped
// with the date and the time, and added to a file in the window's format.
class ActivityLogLines : public ActivityLog {
public:
    void LogCommand(const QString& command, const QString& Results) override;
    // The first two lines of the message go to action and results.
    void LogError(const QString& message) override;

    // Adds the rows kept since the last call to the end of the file, so that
    // every run's rows stay; throws FileProblem.
    void appendTo(const QString& path);

private:
    QList<ActivityLogRow> m_rows;
};
