// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/XifReader.h"

#include <QByteArray>

// The binary form of an external interface file: the bytes "XFB1", then the
// document as a Qt data stream (version Qt 6.0): description, program ID, the
// device's properties, network variables and LonMark objects, each property
// with name, scope, type index, flags, format and its elements' raw bytes.
namespace XfbWriter {

QByteArray encode(const lns::sim::XifDocument& document);

} // namespace XfbWriter
