// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

namespace lns {

// The bytes a value of the format `formatSpec` ("SNVT_temp_setpt#US") holds
// for `text` as its item `item` (as the format separates its items; 0 for a
// format of one item). Fails with Error(LnsErrorBase + Code::FormatFailed)
// and the reason when the format cannot hold the text exactly as given. Needs
// no device, so values can be checked before any network is open; two texts
// that give the same bytes are the same value on the device.
QByteArray encodedItem(const QString& formatSpec, int item, const QString& text);

// The bytes a write of `text` leaves in item `item`: the nearest value the
// format holds, as a write rounds it. Fails with the formatting failure when
// the format cannot hold the text at all.
QByteArray writtenItem(const QString& formatSpec, int item, const QString& text);

// The text a read of the value shows for item `item` held as `bytes` (from
// encodedItem or writtenItem): what the device holds after a write, without
// asking it; also a value read in one unit system shown in the other.
QString formattedItem(const QString& formatSpec, int item, const QByteArray& bytes);

} // namespace lns
