#pragma once

#include "support/ActivityLog.h"
#include "support/ActivityLogFile.h"

#include <QList>
#include <QString>

// The activity of a run, kept as the log window keeps it and saved in the
// window's file format.
class ActivityLogLines : public ActivityLog {
public:
    void LogCommand(const QString& command, const QString& Results) override;
    // The first two lines of the message go to action and results.
    void LogError(const QString& message) override;

    // Replaces the file with the rows; throws Error as saveActivityLog does.
    void save(const QString& path) const { saveActivityLog(path, m_rows); }

private:
    QList<ActivityLogRow> m_rows;
};
