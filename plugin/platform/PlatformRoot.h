// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The folder that holds the settings store and the LonWorks folder. Named by
// LNS_PLATFORM_ROOT (a relative one is made absolute once, for this program and
// those it starts); unset, a per-user data folder.
namespace PlatformRoot {

QString folder();
QString settingsStoreFile();
// Where `lns-host setup` lays the LonWorks folder out.
QString defaultLonWorksFolder();

} // namespace PlatformRoot
