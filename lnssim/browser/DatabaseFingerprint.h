// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// A short text that changes whenever a process commits to a network database
// of the LonWorks folder, or a network or the settings store (where plug-ins
// register) changes: sizes and modification times of the files, so that the
// browser rereads only when something changed, without calls to the server
// (which would fill its journal) every time it looks.
QString databaseFingerprint(const QString& lonWorksFolder, const QString& settingsStoreFile);
