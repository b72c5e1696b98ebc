#pragma once

#include <QList>
#include <QString>

// The activity of a run in the log window's file format: one line per row,
// time, action and results each in double quotes, separated by commas,
// ending with CR LF; a quote inside a text is doubled.
class ActivityLogLines {
public:
    void LogCommand(const QString& command, const QString& results);
    // The two lines of an error message go to action and results.
    void LogError(const QString& message);

    QByteArray text() const;

private:
    struct Row {
        QString time;
        QString action;
        QString results;
    };
    QList<Row> m_rows;
};
