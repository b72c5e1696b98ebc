// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"

#include <QString>

class Dialogs;

// Finds the configuration property that a path such as "F:0/C:0:60" names on
// `device`: "C:scope:index" on its interface, "F:block/C:scope:index" on
// LonMark object block (from 0), "N:nv/C:scope:index" on network variable nv
// of `deviceNvs`. Empty when nothing matches. A failure is put to the user as
// Abort/Retry/Ignore; Abort gives nothing.
lns::Ref<lns::ConfigProperty> GetCpByTypeIndex(const QString& sPathHandle,
                                               const lns::Ref<lns::AppDevice>& device,
                                               const lns::Ref<lns::NetworkVariables>& deviceNvs,
                                               Dialogs& dialogs);
