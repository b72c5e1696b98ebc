// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The program's string resources (identities 101 to 160).
namespace StringTable {

// The text of resource `id`; empty when the table has no such entry.
QString text(int id);

} // namespace StringTable
