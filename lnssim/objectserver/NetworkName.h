// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

namespace lns::sim {

// A network's name is the name of its folder under <LonWorks>/Databases, so
// every program refuses the same names before any path is made of one: the
// empty name, "." and "..", and names with "/", "\" or a control character.
// The refusal is Error(InvalidArgument) naming the name.
void requireNetworkName(const QString& name);

// <lonWorksFolder>/Databases/<name>, for a name requireNetworkName accepts.
QString networkFolder(const QString& lonWorksFolder, const QString& name);

} // namespace lns::sim
