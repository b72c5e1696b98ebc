// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"
#include "objectserver/XifLines.h"

#include <QList>

namespace lns::sim {

// A configuration property as the file declares it, before it joins the
// device, the LonMark objects or the network variables it applies to.
struct XifProperty {
    enum class Target { Device = 0, LonMarkObject = 1, NetworkVariable = 2 };
    static constexpr int ReadOnlyFlag = 0x04;

    int line = 0; // where it is declared
    Target target = Target::Device;
    QList<int> selects;  // the objects or variables it applies to, sharing one value
    int elementSize = 0; // 0 until a size or a value gives it
    int elementCount = 1;
    Shared<ConfigPropertyRecord> record = std::make_shared<ConfigPropertyRecord>();

    qsizetype byteCount() const { return qsizetype(elementSize) * elementCount; }
    // Declared constant: its value comes with the template's read-only values.
    bool isReadOnly() const { return (record->flags & ReadOnlyFlag) != 0; }
    // All elements zero until a value says otherwise.
    void setZeroDefault();
    // `bytes` holds every element's bytes in turn; refused unless it fits exactly.
    void setDefault(const XifLines& lines, int line, const QByteArray& bytes);
};

// Configuration-property declarations, shared by configuration network
// variables ("&" self-documentation) and the template file:
//   appliesTo,select,scope<flags>,typeIndex
//   appliesTo  0 the device, 1 LonMark objects, 2 network variables
//   select     an index, or indices joined by "." for one property shared by them
//   scope      digits, directly followed by one flag character from \x80 up
namespace XifProperties {

constexpr int MaximumElementSize = 255;
constexpr int MaximumElementCount = 255;
constexpr int DeclarationFields = 4;

// Reads the declaration fields at the start of `fields`.
XifProperty declaration(const XifLines& lines, int line, const QList<QStringView>& fields);

// An element size, optionally followed by "[count]" for a property array.
void readSize(const XifLines& lines, int line, QStringView text, XifProperty& property);

// The template file: records ended by ";", an optional version record ("1.1")
// first, then one record per property:
//   declaration,size[[count]][,format[,name]]
// Format and name are kept when a record gives them; the name defaults to the
// format, or to the property type ("SCPT60", "UCPT4").
QList<XifProperty> templateFile(const XifLines& lines, const XifString& content);

// The bytes all of `properties` take.
qsizetype byteCount(const QList<XifProperty>& properties);

// A value file (`what`, refused on `line`): every one of `properties` bytes in turn.
void valueFile(const XifLines& lines, int line, const QByteArray& bytes,
               QList<XifProperty>& properties, const char* what);

} // namespace XifProperties

} // namespace lns::sim
