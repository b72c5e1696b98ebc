// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

struct PlacedField;

// The scheduler's times of day: kept in minutes, shown "HH:MM".
bool isTimeOfDay(const PlacedField& placed);

// A field's value as a file shows it: the scheduler's times as "HH:MM",
// everything else as the device formats it.
QString fileText(const PlacedField& placed, const QString& deviceText);

// A file's value as the device takes it: a time of day written "HH:MM" (or
// "H:MM") becomes its minutes after midnight, as the window keeps it;
// anything else is left for the checks.
QString deviceText(const PlacedField& placed, const QString& fileText);
