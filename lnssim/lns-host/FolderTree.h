// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Whole folders as setup handles them. Each function gives the system's
// reason in `problem` when it fails.
namespace FolderTree {

// Copies `from` with all it holds into `to`, which is made.
bool copy(const QString& from, const QString& to, QString& problem);

// Removes `path` and all it holds. A symbolic link is removed itself: the
// folder it points to is never entered.
bool remove(const QString& path, QString& problem);

// Makes a new empty folder named `prefix` and six characters no other
// folder has; its path, or an empty text.
QString makeUnique(const QString& prefix, QString& problem);

// Puts the folder `replacement` in the place of `current`; an old folder
// there ends at `replacement`. An exchange in one step where the file system
// allows, so other processes find `current` whole at any moment.
bool place(const QString& replacement, const QString& current, QString& problem);

} // namespace FolderTree
