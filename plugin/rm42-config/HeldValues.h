// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFields.h"
#include "Validation.h"

#include <QMap>
#include <QString>
#include <vector>

// What a thermostat holds for a field's text: the text encoded in the data
// type of the field's value, in the fields' unit system and forms. Checking a
// file and applying it both go through this encoding.

// Every value the device could not hold exactly as given, each naming its
// field and why (a number between the type's steps, beyond its range, too
// long a text). Rounding between unit systems is not a problem.
std::vector<ValueProblem> encodingProblems(const QMap<QString, QString>& values,
                                           const ConfigurationFields& fields);

// Whether the device holds both texts of the field as the same bytes, so
// that writing `wanted` over `current` would change nothing.
bool heldAlike(const PlacedField& placed, const QString& current, const QString& wanted);
// The same for one field of two configurations, each text in its own
// catalog's unit system and forms: both hold the same bytes. A text the
// device could not hold is alike only to the same text.
bool heldAlike(const PlacedField& aField, const QString& a, const PlacedField& bField,
               const QString& b);
