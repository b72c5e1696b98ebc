// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/ActivityLog.h"
#include "support/ActivityLogFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

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

    // Where rows that cannot wait for their turn go: the log file, or nothing.
    using WriteNow = std::function<void(const QByteArray& rows)>;
    void writeNowWith(WriteNow write) { m_writeNow = std::move(write); }
    // The "Updating device" row, written before the first value is sent to
    // `device`, so that the log names every device written even when the
    // run is killed before the device's own rows reach the file (a later
    // "Device" row of the same device completes it). Throws FileProblem.
    void LogUpdatingDevice(const QString& device);

private:
    QList<ActivityLogRow> m_rows;
    WriteNow m_writeNow;
};
