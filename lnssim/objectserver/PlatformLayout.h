// SPDX-License-Identifier: Apache-2.0
#pragma once

class SettingsStore;

namespace lns::sim {

// Whether the LonWorks folder has been laid out (by `lns-host setup`): the
// machine setting "LonWorks Path" names a folder that exists.
bool platformLaidOut(SettingsStore& store);

} // namespace lns::sim
