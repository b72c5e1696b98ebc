// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace lns::sim {

// Turns the raw bytes of a configuration property (one element of it for an
// array) into the formatted text of a format, and text back into bytes.
// A format specifier is a format name, optionally followed by "#US" or "#SI"
// for the unit system of temperatures; without a suffix the SI form is used.
class FormatEngine {
public:
    // Fails with Error(LnsErrorBase + FormatFailed) for an unknown format or
    // raw bytes of the wrong size.
    static QString format(const QString& formatSpec, const QByteArray& raw);
    // Fails with Error(LnsErrorBase + FormatFailed) for text the format cannot
    // hold (out of range, unknown enumeration text, wrong item count, not a number).
    static QByteArray parse(const QString& formatSpec, const QString& text);
    // The raw value with some of its items replaced: `items` maps an item's
    // position (as the format separates them; 0 for a format of one item) to
    // its text. The bytes of the other items stay as they are. Fails as parse.
    static QByteArray withItems(const QString& formatSpec, const QByteArray& raw,
                                const QMap<int, QString>& items);
    // The bytes of one item for `text`; fails as parse, and for text the item
    // would not hold exactly as given (FormatItem.h, parseItemExactly).
    static QByteArray parseItemExactly(const QString& formatSpec, int item, const QString& text);
    // The bytes of one item for `text`, as a write stores it; fails as parse.
    static QByteArray parseItem(const QString& formatSpec, int item, const QString& text);
    // The text of one item held as `bytes` (from parseItemExactly), as a read
    // of the whole value shows it. Fails as format.
    static QString formatItemOf(const QString& formatSpec, int item, const QByteArray& bytes);
    // Size in bytes of one raw value of the format; -1 for RAW (any size) and
    // for an unknown format.
    static int rawSize(const QString& formatName);
};

} // namespace lns::sim
