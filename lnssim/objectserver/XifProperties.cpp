// SPDX-License-Identifier: Apache-2.0
#include "objectserver/XifProperties.h"

#include <QSet>

namespace lns::sim {

void XifProperty::setZeroDefault() {
    record->elements.assign(elementCount, QByteArray(elementSize, '\0'));
}

void XifProperty::setDefault(const XifLines& lines, int line, const QByteArray& bytes) {
    if (bytes.size() != byteCount())
        lines.fail(line, QStringLiteral("the value of \"%1\" must be %2 bytes, not %3")
                             .arg(record->name)
                             .arg(byteCount())
                             .arg(bytes.size()));
    record->elements.clear();
    for (int element = 0; element < elementCount; ++element)
        record->elements.push_back(bytes.mid(qsizetype(element) * elementSize, elementSize));
}

namespace XifProperties {

namespace {

constexpr int MaximumSelect = 65534;
constexpr int FirstFlagCharacter = 0x80;

struct Record {
    int line;
    QStringView text;
};

// The ";"-ended records of a string, each with the line it starts on.
QList<Record> records(const XifString& content) {
    QList<Record> result;
    const QStringView text(content.text);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = text.size();
        const QStringView record = text.mid(start, end - start);
        const QStringView trimmed = record.trimmed();
        if (!trimmed.isEmpty())
            result.append({content.lineAt(start + (trimmed.data() - record.data())), trimmed});
        start = end + 1;
    }
    return result;
}

QList<QStringView> fieldsOf(QStringView record) {
    QList<QStringView> fields;
    for (const QStringView field : record.tokenize(QLatin1Char(',')))
        fields.append(field.trimmed());
    return fields;
}

bool isVersion(QStringView record) {
    const qsizetype dot = record.indexOf(QLatin1Char('.'));
    return dot > 0 && xifIsInteger(record.left(dot)) && xifIsInteger(record.mid(dot + 1));
}

QList<int> selectsOf(const XifLines& lines, int line, XifProperty::Target target,
                     QStringView text) {
    if (target == XifProperty::Target::Device)
        return {};
    QList<int> selects;
    QSet<int> seen;
    for (const QStringView select : text.tokenize(QLatin1Char('.'))) {
        const int index =
            xifNumber(lines, line, select, 0, MaximumSelect, "the property's select index");
        if (seen.contains(index))
            lines.fail(line, QStringLiteral("the property names %1 twice").arg(index));
        seen.insert(index);
        selects.append(index);
    }
    return selects;
}

// "4\x80": the scope's digits, then the flag character.
void readScopeAndFlags(const XifLines& lines, int line, QStringView text,
                       ConfigPropertyRecord& record) {
    QStringView scope = text;
    int flags = 0;
    if (!text.isEmpty() && text.back().unicode() >= FirstFlagCharacter) {
        flags = text.back().unicode() - FirstFlagCharacter;
        scope.chop(1);
    }
    if (flags > 0x7F)
        lines.fail(line, QStringLiteral("the property's flag character must be from \\x80 to "
                                        "\\xFF"));
    record.scope = xifNumber(lines, line, scope, 0, 15, "the property scope");
    record.flags = static_cast<qint16>(flags);
}

QString typeName(const ConfigPropertyRecord& record) {
    return QStringLiteral("%1CPT%2")
        .arg(record.scope == 0 ? QLatin1Char('S') : QLatin1Char('U'))
        .arg(record.typeIndex);
}

} // namespace

XifProperty declaration(const XifLines& lines, int line, const QList<QStringView>& fields) {
    if (fields.size() < DeclarationFields)
        lines.fail(line, QStringLiteral("a property declaration needs applies-to, select, "
                                        "scope with flags and type index; found %1 fields")
                             .arg(fields.size()));
    XifProperty property;
    property.line = line;
    property.target = static_cast<XifProperty::Target>(
        xifNumber(lines, line, fields[0], 0, 2,
                  "the property's applies-to (0 device, 1 object, 2 variable)"));
    property.selects = selectsOf(lines, line, property.target, fields[1]);
    if (property.target != XifProperty::Target::Device && property.selects.isEmpty())
        lines.fail(line, QStringLiteral("the property names no object or variable"));
    readScopeAndFlags(lines, line, fields[2], *property.record);
    property.record->typeIndex =
        xifNumber(lines, line, fields[3], 0, 65535, "the property type index");
    return property;
}

void readSize(const XifLines& lines, int line, QStringView text, XifProperty& property) {
    QStringView size = text;
    if (text.endsWith(QLatin1Char(']'))) {
        const qsizetype open = text.indexOf(QLatin1Char('['));
        if (open < 0)
            lines.fail(line, QStringLiteral("expected \"[\" before the property array size"));
        property.elementCount = xifNumber(lines, line, text.mid(open + 1).chopped(1), 1,
                                          MaximumElementCount, "the property array size");
        size = text.left(open);
    }
    property.elementSize = xifNumber(lines, line, size, 1, MaximumElementSize, "the element size");
}

QList<XifProperty> templateFile(const XifLines& lines, const XifString& content) {
    QList<Record> all = records(content);
    if (!all.isEmpty() && isVersion(all.first().text))
        all.removeFirst();
    QList<XifProperty> properties;
    for (const Record& record : all) {
        const QList<QStringView> fields = fieldsOf(record.text);
        if (fields.size() < DeclarationFields + 1 || fields.size() > DeclarationFields + 3)
            lines.fail(record.line,
                       QStringLiteral("a template record needs applies-to, select, scope with "
                                      "flags, type index and size, then optionally a format and "
                                      "a name; found %1 fields")
                           .arg(fields.size()));
        XifProperty property = declaration(lines, record.line, fields);
        readSize(lines, record.line, fields[DeclarationFields], property);
        ConfigPropertyRecord& cp = *property.record;
        cp.format = fields.value(DeclarationFields + 1).toString();
        cp.formatSpec = cp.format;
        cp.name = fields.value(DeclarationFields + 2).toString();
        if (cp.name.isEmpty())
            cp.name = cp.format.isEmpty() ? typeName(cp) : cp.format;
        property.setZeroDefault();
        properties.append(property);
    }
    return properties;
}

qsizetype byteCount(const QList<XifProperty>& properties) {
    qsizetype bytes = 0;
    for (const XifProperty& property : properties)
        bytes += property.byteCount();
    return bytes;
}

void valueFile(const XifLines& lines, int line, const QByteArray& bytes,
               QList<XifProperty>& properties, const char* what) {
    const qsizetype needed = byteCount(properties);
    if (bytes.size() != needed)
        lines.fail(line, QStringLiteral("the %1 holds %2 bytes; the template file's %3 "
                                        "properties take %4")
                             .arg(QLatin1String(what))
                             .arg(bytes.size())
                             .arg(properties.size())
                             .arg(needed));
    qsizetype offset = 0;
    for (XifProperty& property : properties) {
        property.setDefault(lines, line, bytes.mid(offset, property.byteCount()));
        offset += property.byteCount();
    }
}

} // namespace XifProperties

} // namespace lns::sim
