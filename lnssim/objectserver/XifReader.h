// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/XifProperties.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lns::sim {

// A functional block entry of the node self-documentation: an array of
// `count` blocks takes the LonMark object indices from `index` on.
struct XifBlock {
    int index = 0;
    int profile = 0; // the functional profile's type index
    int scope = 0;
    QString name;
    int count = 1;
};

// A VAR record as declared.
struct XifVariable {
    int line = 0;
    int index = 0;
    QString name;
    bool output = false;
    int typeIndex = 0;
    int arraySize = 0; // 0: not an array
    int block = -1;    // the LonMark object it is a member of, -1 for none
};

// What an external interface file describes: the template (description,
// program ID, interface) and the declarations it was built from.
struct XifDocument {
    QString description;
    QString programId; // 16 upper-case hexadecimal digits
    Shared<InterfaceRecord> interface = std::make_shared<InterfaceRecord>();
    QList<XifBlock> blocks;
    QList<XifVariable> variables;
    QList<XifProperty> properties; // share their records with the interface
};

// Reads the text form (version 4.x) of a LonWorks external interface file as
// device makers' compilers and interface interpreters write it, LF or CR LF:
//   header    free lines; line 1 may name "XIF Version 4.n"; the program ID on
//             line 4 (line 5 when line 4 is blank) as eight two-digit
//             hexadecimal groups separated by one character.
//   node      lines of numbers (node, buffers, channel), ended by a "*" line;
//             the fourth number of the first is the count of network variables.
//   "&3.4@0NodeObject,20011[16gc;description"   the node self-documentation,
//             or "*" for none: comma-separated [scope:]profile[[count[]]]name,
//             the i-th block being LonMark object i.
//   VAR name index avgRate maxRate arraySize     (arraySize 0: not an array)
//   flags                                a line of numbers: the fourth is the
//                                        direction (0 input, 1 output), the
//                                        thirteenth 1 for a configuration variable
//   "self-documentation or *             "@block|member", or "&declaration[,size]"
//                                        for a configuration property
//   typeIndex typeName|* fieldCount      then fieldCount lines of five numbers
//   TAG name index numbers...
//   NVVAL                                then one value per configuration
//                                        variable (or element), in file order
//   FILE template numbers                then the template file as string lines
//   FILE value numbers                   then the values of the template's writable
//   FILE readOnly numbers                and read-only properties, in its order
// A value is written as bytes "0x0B B8" or "\x0B \xB8" and continues on the
// indented lines after it. A string spans consecutive lines that each begin
// with a double quote; \xHH, \\ and \" are escapes. Property declarations and
// the template file: see XifProperties.h. A device holds at most 65,535 LonMark
// objects and network variables (indices 0 to 65534). Anything malformed or cut
// short fails with Error(ImportFailed) naming the source, the line and what was
// expected; what the template has no place for is checked for shape and skipped.
namespace XifReader {

XifDocument parse(const QByteArray& content, const QString& sourceName);
// Reads the file (native path) and parses it.
XifDocument read(const QString& path);

} // namespace XifReader

} // namespace lns::sim
