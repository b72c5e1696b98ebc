// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

// The name of `names` closest to a mistyped `name` (fewest letters added,
// dropped, changed or swapped), when it is close enough to be the one
// meant; empty otherwise.
QString nearestName(const QString& name, const QStringList& names);

// " (did you mean \"x\"?)" for the nearest name, nothing without one.
QString didYouMean(const QString& name, const QStringList& names);
