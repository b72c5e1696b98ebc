// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// An exclusive lock on a file, held while the object lives: a second holder
// waits until the first lets go or ends, killed or not.
class ExclusiveLock {
public:
    // Waits for the lock, making the file if need be; see problem().
    explicit ExclusiveLock(const QString& file);
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    // Empty while held; else the system's reason, with the file's name.
    const QString& problem() const { return m_problem; }

private:
    int m_fd = -1;
    QString m_problem;
};
