// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The value rounded to the nearest multiple of step, halves to the even
// multiple. Text that is not a decimal number counts as 0. Fails with an
// overflow when value / step lies outside the 32-bit integer range.
double RoundToStep(const QString& value, double step);

// A number as the shortest decimal text that reads back to it ("37.5", "100").
QString shortestText(double number);
