// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

namespace lns::sim {

// A lock on a file (made when missing), held while the object lives; a
// holder killed lets go with its process.
class FileLock {
public:
    enum class Kind { Shared, Exclusive };
    enum class Wait { Yes, No };

    FileLock(const QString& file, Kind kind, Wait wait);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return m_fd >= 0; }
    // Not held: empty when another process holds the lock (Wait::No), else
    // the system's reason with the file's name.
    const QString& problem() const { return m_problem; }

private:
    void release() noexcept;

    int m_fd = -1;
    QString m_problem;
};

// Every process holds this file beside the LonWorks folder shared while it has
// a network of the folder open, and setup holds it alone while it puts a new
// folder in the old one's place, so that no process ever writes into a
// network taken away from it. Beside, since the folder itself is replaced.
QString inUseFileOf(const QString& lonWorksFolder);

} // namespace lns::sim
