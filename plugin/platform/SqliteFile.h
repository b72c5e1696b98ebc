// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

struct sqlite3;

// Opening a SQLite file that several processes and users share: its folder may
// be a read-only copy, and a new file is shared as the umask says.
namespace SqliteFile {

// Whether `rc` says that the file or its folder may only be read.
bool isReadOnlyFailure(int rc);

// Makes a missing file empty with the permissions the umask leaves, as any
// other new file. SQLite itself would make it 0644, and it gives the file's
// permissions to its journal and shared-memory files.
void createFollowingUmask(const QString& file);

// Opens an existing file for reading only. Without write access to its folder
// the shared-memory file of a write-ahead log cannot be made: the file is then
// read as it stands, as a copy nobody changes.
int openForReading(const QString& file, sqlite3** db);

// Switches the connection to the write-ahead log, waiting up to `timeoutMs`
// for a busy file (the switch does not wait by itself). SQLite's code.
int useWriteAheadLog(sqlite3* db, int timeoutMs);

} // namespace SqliteFile
