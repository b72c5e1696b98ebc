// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The path of the file `name` in a site folder, to be read only from what the
// folder holds itself: throws FileProblem when the folder is a symbolic link,
// or the file a link to a file outside the folder (a backup restored would
// otherwise put back whatever the link reaches).
QString siteFilePath(const QString& folder, const QString& name);
