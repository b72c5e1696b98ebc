// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

class SettingsStore;

namespace lns::sim {

// The LonWorks folder the machine setting "LonWorks Path" names, in the
// system's form; empty, with what keeps it from a folder in `problem`, when
// the setting is missing or the store cannot be read (a store that cannot be
// read says why, so nobody is sent to lay out anew a folder that is there).
QString lonWorksPath(SettingsStore& store, QString& problem);

// Whether the LonWorks folder has been laid out (by `lns-host setup`): the
// setting names a folder that exists.
bool platformLaidOut(SettingsStore& store);

} // namespace lns::sim
