// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <chrono>
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

// How far a search may go. A search from the root of the file system must
// end, and must not wander into the system's own trees or through links.
struct SearchBounds {
    int maxDepth = 12; // folder levels below the starting folder
    std::chrono::milliseconds timeLimit = std::chrono::seconds(20);
};

struct SearchResult {
    QString path;          // the file found, in the system's form; empty when none
    bool cutShort = false; // a bound stopped the search before it was complete
};

// Searches `folder` (ending in "\") and then its sub-folders for the XIF file
// of `programId`. Links to folders are not followed, and /proc, /sys, /dev
// and /run are never entered.
SearchResult Search(const QString& folder, const QString& programId,
                    const SearchBounds& bounds = {});

struct Converter {
    QString lonWorksFolder;
    ProcessLauncher& launcher;
    Dialogs& dialogs;
    std::function<void()> processEvents;
    // Where binary forms are written (the system's form): a file found
    // anywhere else is first copied here, into a folder named after its
    // program ID, so the converter never writes beside someone else's file.
    QString importFolder;
};

// Has the converter write the binary form (.XFB) beside the file in the
// import folder. Returns the path of the file there, or empty (after telling
// the user) when no binary form results.
QString Convert(const QString& path, const Converter& converter);

} // namespace DeviceFile
