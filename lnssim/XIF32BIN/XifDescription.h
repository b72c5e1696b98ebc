// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/XifReader.h"

#include <QString>

// What an external interface file declares, one line each, for a person to
// read before importing it: the program ID, the functional blocks, the network
// variables and the configuration properties.
namespace XifDescription {

QString describe(const lns::sim::XifDocument& document);

} // namespace XifDescription
