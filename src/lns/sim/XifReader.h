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
//   node      lines of numbers (node, buffers, channel), ended by a line
//             starting "*", the node self-documentation or the first record.
//   "&3.4@objects;description"   the node self-documentation: objects are
//             comma-separated [scope:]typeIndex[[count]]name; the i-th is
//             LonMark object i.
//   VAR name index avgRate maxRate arraySize     (arraySize 0: not an array)
//   priority direction ...               (numbers; direction 0 input, 1 output)
//   "self-documentation                  "@object|member", "@object#member", or
//                                        "&declaration[,size]" for a
//                                        configuration network variable
//   typeIndex typeName|* numbers...      then any lines of numbers describing the type
//   TAG name index numbers...
//   NVVAL index numbers... byteCount     then the bytes: 0x00, 0x01, ...
//   FILE template numbers...             then the template file as string lines
//   FILE value numbers... byteCount      then the value file's bytes
// Bytes continue on the lines that begin with "0x". A string spans consecutive
// lines that each begin with a double quote; \xHH, \\ and \" are escapes.
// Property declarations and the two files: see XifProperties.h.
// A device holds at most 65,535 LonMark objects and network variables
// (indices 0 to 65534). Anything else fails with Error(ImportFailed) naming
// the source, the line and what was expected.
namespace XifReader {

XifDocument parse(const QByteArray& content, const QString& sourceName);
// Reads the file (native path) and parses it.
XifDocument read(const QString& path);

} // namespace XifReader

} // namespace lns::sim
