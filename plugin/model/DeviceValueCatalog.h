// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"

#include <QString>
#include <functional>

struct Specific;

// Resolves a configuration property path such as "F:0/C:0:60"; empty when
// nothing matches.
using CpLookupFunction = std::function<lns::Ref<lns::ConfigProperty>(const QString& sPathHandle)>;

// Replaces NvCpTables with the device's 19 values, each bound to the property
// its path names, read under the management mode of `system`. Build the
// field catalog again afterwards: its fields refer to the values replaced here.
void BuildNvCpTables(Specific& specific, const CpLookupFunction& GetCpByTypeIndex,
                     const lns::Ref<lns::System>& system);
