// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <functional>

class Dialogs;
class ProcessLauncher;

// The device's external interface file (XIF): its program ID, the search for
// it, and its conversion to the binary form by the XIF converter. Paths are
// in the system's "\" form.
namespace DeviceFile {

// The program ID the file declares on its fourth line (fifth when the
// fourth is blank), or empty for anything that is not such a file.
QString ProgramIdOfFile(const QString& path);

// Searches `folder` (ending in "\") and then its sub-folders for the XIF file
// of `programId`; empty when there is none.
QString Search(const QString& folder, const QString& programId);

struct Converter {
    QString lonWorksFolder;
    ProcessLauncher& launcher;
    Dialogs& dialogs;
    std::function<void()> processEvents;
};

// Has the converter write the binary form (.XFB) beside the file. Returns the
// file's path, or empty (after telling the user) when no binary form results.
QString Convert(const QString& path, const Converter& converter);

} // namespace DeviceFile
