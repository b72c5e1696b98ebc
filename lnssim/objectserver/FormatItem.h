// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lns::sim {

enum class UnitSystem { Metric, Imperial };

// Shown value = raw * factor + offset, in one unit system.
struct LinearScale {
    double factor = 1.0;
    double offset = 0.0;
};

// One item of a formatted value: a big-endian integer of `size` bytes shown
// as a scaled number, as one of a list of names, or as "major.minor".
struct FormatItem {
    enum class Kind { Number, Enumeration, Version };

    Kind kind = Kind::Number;
    int size = 1;
    bool isSigned = false;
    // Numbers: the scale per unit system, decimals shown, and whether
    // trailing zeros stay ("22.00") or go ("22").
    LinearScale metric;
    LinearScale imperial;
    int decimals = 0;
    bool fixedDecimals = false;
    // Numbers and enumerations: the raw values the type defines.
    qint64 rawMin = 0;
    qint64 rawMax = 0;
    // Enumerations: names[i] stands for raw value rawMin + i.
    QStringList names;

    const LinearScale& scale(UnitSystem units) const {
        return units == UnitSystem::Imperial ? imperial : metric;
    }
};

// Item factories; each documents its raw encoding.
namespace items {
// Unsigned or signed integer shown in decimal, raw value = shown value.
FormatItem integer(int size, qint64 min, qint64 max);
// Unsigned integer in steps of `step`, shown with up to `decimals` decimals.
FormatItem stepped(int size, double step, int decimals, qint64 rawMin, qint64 rawMax);
// Signed 16-bit temperature at 0.01 degC, shown with two decimals.
FormatItem celsiusHundredths();
// Signed 16-bit temperature at 0.1 degF, shown with up to two decimals. The
// step holds whole degF and half degC exactly and is coarser than 0.01 degC,
// so a value read in either unit system is written back unchanged.
FormatItem fahrenheitTenths();
// Signed 16-bit temperature difference at 0.1 degF, as above.
FormatItem fahrenheitTenthsDifference(qint64 rawMin, qint64 rawMax);
// One byte; names[i] is raw value first + i.
FormatItem enumeration(const QStringList& names, int first = 0);
// Two unsigned bytes, major then minor, shown "major.minor".
FormatItem version();
} // namespace items

// Text of the item held in `raw` (exactly item.size bytes). Fails with the
// LNS formatting error when the raw value is not one the type defines.
QString formatItem(const FormatItem& item, const QByteArray& raw, UnitSystem units);
// Bytes of the item for `text`. Fails with the LNS formatting error for text
// the item cannot hold.
QByteArray parseItem(const FormatItem& item, const QString& text, UnitSystem units);
// As parseItem, and fails as well for text the item would not hold exactly as
// given: a number not written as the item shows numbers (a sign "+", blanks,
// an exponent, decimals on a whole number), or one that falls between the
// item's steps in a unit system whose steps the text can name. Rounding to
// the nearest step where the units convert (74 degF held at 0.01 degC) is not
// a fault.
QByteArray parseItemExactly(const FormatItem& item, const QString& text, UnitSystem units);

// The LNS formatting failure with a description of what went wrong.
[[noreturn]] void failFormatting(const QString& description);

} // namespace lns::sim
