// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Whether the program has a display to show windows on. Without one (an SSH
// session, a script, a package's install step, a display that is gone) it
// runs on the offscreen platform, so that everything that shows no window
// still works.
namespace WindowSystem {

// Call before the application object exists: when no display is set and no
// window platform was asked for, or the X display named cannot be reached,
// chooses the offscreen one. True then.
bool prepare();

// True after prepare() found no display.
bool missing();

// Why a window cannot be shown, in one line.
QString missingReason();

} // namespace WindowSystem
