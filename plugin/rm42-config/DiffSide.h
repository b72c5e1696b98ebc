// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationDiff.h"

#include <QString>
#include <QStringList>

// One side of a comparison: a device of a network as it is now, a saved
// configuration file, or a site folder written by save --all.
struct DiffSide {
    enum class Kind { Device, File, Site };

    Kind kind = Kind::File;
    // The words it was given by: "NETWORK DEVICE", the file's or the folder's path.
    QString label;
    Configurations devices;
    // The unit system its values are shown in when it comes first: a file's
    // own, the display units for a device.
    qint16 units = 1;
};

// Takes one side from the front of `words`: a word naming an existing file
// or folder is that file or site folder, any other word a network followed
// by its device. Throws InputProblem (no such network or device, no word
// left), FileProblem (a file that cannot be used) or Error (a device that
// cannot be read).
DiffSide takeDiffSide(QStringList& words, const QString& networkInterface);

// "device", "file" or "site".
QString kindName(DiffSide::Kind kind);
