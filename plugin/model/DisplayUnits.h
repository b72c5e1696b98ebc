// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

// The two unit systems the window shows temperatures in.
namespace rules {

struct DisplayUnits {
    QString caption;           // "ºF" or "ºC"
    QString formatSuffix;      // "#US" or "#SI"
    QStringList deadbandItems; // the items of cbNvi(2)
};

// The table row of a unit system (0 Metric, anything else Imperial).
DisplayUnits displayUnitsFor(int unitSystem);

// The stored "DisplayUnits" text as a unit system: "0" is Metric, every
// other text (a missing value included) Imperial.
int unitSystemFromStored(const QString& stored);

// The text stored for a unit system: "0" for Metric, "1" for Imperial.
QString storedUnitSystem(int unitSystem);

// The warning shown before a units change discards pending edits.
QString discardChangesWarning();

} // namespace rules
