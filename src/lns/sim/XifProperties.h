#pragma once

#include "lns/sim/DatabaseRecords.h"
#include "lns/sim/XifLines.h"

#include <QList>

namespace lns::sim {

// A configuration property as the file declares it, before it joins the
// device, the LonMark object or the network variable it applies to.
struct XifProperty {
    enum class Target { Device = 1, LonMarkObject = 2, NetworkVariable = 3 };

    int line = 0; // where it is declared
    Target target = Target::Device;
    int select = 0; // the object or variable index
    int elementSize = 1;
    int elementCount = 1;
    Shared<ConfigPropertyRecord> record = std::make_shared<ConfigPropertyRecord>();

    // All elements zero until a value says otherwise.
    void setZeroDefault();
    // `hex` holds every element's bytes in turn; refused unless it fits exactly.
    void setDefault(const XifLines& lines, int line, QStringView hex);
};

// The configuration-property declarations shared by configuration network
// variables and the template file:
//   target,select,scope,flags[\x80],typeIndex
//   target 1 the device, 2 the LonMark object `select`, 3 the variable `select`.
namespace XifProperties {

constexpr int MaximumElementSize = 255;
constexpr int MaximumElementCount = 255;

// Reads the five declaration fields at the start of `fields`.
XifProperty declaration(const XifLines& lines, int line, const QList<QStringView>& fields);

// The template file: records ended by ";", an optional version record ("1.1")
// first, then one record per property:
//   declaration,elementSize,elementCount,format[,name]
// The name defaults to the format.
QList<XifProperty> templateFile(const XifLines& lines, const XifString& content);

// The value file: one record of hexadecimal digits per template property, in
// the template's order, ended by ";".
void valueFile(const XifLines& lines, const XifString& content, QList<XifProperty>& properties);

} // namespace XifProperties

} // namespace lns::sim
