// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

struct PlugInState;

// Opens network `name` and its system 1 through the state's Object Server, as
// the host asks the plug-in to: locally when `networkInterfaceName` is empty,
// otherwise through that remote interface, or over IP for "Internet". The
// server is (re)opened only when it is not open yet or its remote flag must
// change. Fills the state's open-network members; a failure throws Error and
// leaves NetworkOpen as it was.
void openNetworkOf(PlugInState& state, const QString& name, const QString& networkInterfaceName);
