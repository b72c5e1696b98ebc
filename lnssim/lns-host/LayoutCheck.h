// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>

// What a laid-out LonWorks folder lacks of what setup puts in it: each file
// and folder of the kit, the database of each of the kit's networks, and the
// converter. Paths relative to the folder; a missing folder is named once,
// without its contents.
QStringList missingFromLayout(const QString& kit, const QString& folder);
