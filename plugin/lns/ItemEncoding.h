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

// The text of item `item` held in `bytes` (as encodedItem gives them) in the
// format `formatSpec`: a value read in one unit system shown in the other
// without a device. Fails with Error(LnsErrorBase + Code::FormatFailed).
QString formattedItem(const QString& formatSpec, int item, const QByteArray& bytes);

} // namespace lns
