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

// Reads the published text form (version 4.x) of a LonWorks external interface
// file, LF or CR LF line ends:
//   header    free lines; line 1 may name "XIF Version 4.n"; the program ID on
//             line 4 (line 5 when line 4 is blank) as eight two-digit
//             hexadecimal groups separated by one character.
//   node      lines of numbers (node and channel), up to a line starting "*".
//   "&3.4@objects;description"   the node self-documentation: objects are
//             comma-separated [scope:]typeIndex[[count]]name; the i-th is
//             LonMark object i.
//   VAR name index avgRate maxRate arraySize
//   priority direction ...               (numbers)
//   "self-documentation                  "@object|member", or "&declaration"
//                                        for a configuration network variable
//   typeIndex typeName|* size
//   TAG name index numbers...
//   NVVAL index hexValue                 all elements' bytes
//   FILE template / FILE value           followed by the file's text as string lines
// A string spans consecutive lines that each begin with a double quote; \xHH,
// \\ and \" are escapes. Property declarations: see XifProperties.h.
// A device holds at most 65,535 LonMark objects and network variables
// (indices 0 to 65534). Anything else fails with Error(ImportFailed) naming
// the source, the line and what was expected.
namespace XifReader {

XifDocument parse(const QByteArray& content, const QString& sourceName);
// Reads the file (native path) and parses it.
XifDocument read(const QString& path);

} // namespace XifReader

} // namespace lns::sim
