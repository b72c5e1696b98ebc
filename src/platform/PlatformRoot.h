#pragma once

#include <QString>

// The folder that holds the settings store and the LonWorks folder. Named by
// LNS_PLATFORM_ROOT; unset, a per-user data folder.
namespace PlatformRoot {

QString folder();
QString settingsStoreFile();
// Where `lns-host setup` lays the LonWorks folder out.
QString defaultLonWorksFolder();

} // namespace PlatformRoot
