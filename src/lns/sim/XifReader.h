#pragma once

#include "lns/sim/DatabaseRecords.h"

#include <QByteArray>
#include <QString>

namespace lns::sim {

// What an external interface file describes.
struct XifDocument {
    QString description;
    QString programId; // 16 upper-case hexadecimal digits
    Shared<InterfaceRecord> interface = std::make_shared<InterfaceRecord>();
};

// Reads the text form of an external interface file:
//   line 1   XIF-TEXT 1
//   line 2   the device's description
//   line 3   free text
//   line 4   the program ID as eight two-digit hexadecimal groups separated by
//            one character, e.g. 80:03:DB:55:00:04:04:21 (line 5 when line 4 is
//            blank)
//   then one record per line; blank lines and lines starting with "#" are skipped:
//   OBJECT index typeIndex scope "name"
//   NV index "name"
//   CP owner scope typeIndex flags format elementCount hexDefault "name"
//      owner: DEVICE, OBJECT:index or NV:index (declared above);
//      hexDefault: the raw bytes of all elements, elementCount equal parts.
// Any other content fails with Error(ImportFailed) naming the source and line.
namespace XifReader {

XifDocument parse(const QByteArray& content, const QString& sourceName);
// Reads the file (native path) and parses it.
XifDocument read(const QString& path);

} // namespace XifReader

} // namespace lns::sim
