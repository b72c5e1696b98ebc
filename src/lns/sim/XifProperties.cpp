#include "lns/sim/XifProperties.h"

#include <algorithm>
#include <cctype>

namespace lns::sim {

void XifProperty::setZeroDefault() {
    record->elements.assign(elementCount, QByteArray(elementSize, '\0'));
}

void XifProperty::setDefault(const XifLines& lines, int line, QStringView hex) {
    const qsizetype expected = qsizetype(elementSize) * elementCount;
    if (hex.size() != expected * 2)
        lines.fail(line, QStringLiteral("the value of \"%1\" must be %2 bytes (%3 hexadecimal "
                                        "digits), not %4 digits")
                             .arg(record->name)
                             .arg(expected)
                             .arg(expected * 2)
                             .arg(hex.size()));
    const QByteArray latin = hex.toLatin1();
    if (!std::all_of(latin.begin(), latin.end(), [](char c) { return std::isxdigit(uchar(c)); }))
        lines.fail(
            line,
            QStringLiteral("the value of \"%1\" must be hexadecimal digits").arg(record->name));
    const QByteArray raw = QByteArray::fromHex(latin);
    record->elements.clear();
    for (int element = 0; element < elementCount; ++element)
        record->elements.push_back(raw.mid(qsizetype(element) * elementSize, elementSize));
}

namespace XifProperties {

namespace {

constexpr int DeclarationFields = 5;

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

} // namespace

XifProperty declaration(const XifLines& lines, int line, const QList<QStringView>& fields) {
    if (fields.size() < DeclarationFields)
        lines.fail(line, QStringLiteral("a property declaration needs target, select, scope, "
                                        "flags and type index; found %1 fields")
                             .arg(fields.size()));
    XifProperty property;
    property.line = line;
    property.target = static_cast<XifProperty::Target>(xifNumber(
        lines, line, fields[0], 1, 3, "the property target (1 device, 2 object, 3 variable)"));
    property.select = xifNumber(lines, line, fields[1], 0, 65534, "the property's select index");
    property.record->scope = xifNumber(lines, line, fields[2], 0, 15, "the property scope");
    QStringView flags = fields[3];
    if (flags.endsWith(QChar(0x80)))
        flags.chop(1); // the flag byte's end mark
    property.record->flags =
        static_cast<qint16>(xifNumber(lines, line, flags, 0, 32767, "the property flags"));
    property.record->typeIndex =
        xifNumber(lines, line, fields[4], 0, 65535, "the property type index");
    return property;
}

QList<XifProperty> templateFile(const XifLines& lines, const XifString& content) {
    QList<Record> all = records(content);
    if (!all.isEmpty() && isVersion(all.first().text))
        all.removeFirst();
    QList<XifProperty> properties;
    for (const Record& record : all) {
        const QList<QStringView> fields = fieldsOf(record.text);
        if (fields.size() < DeclarationFields + 3 || fields.size() > DeclarationFields + 4)
            lines.fail(record.line,
                       QStringLiteral("a template record needs target, select, scope, flags, "
                                      "type index, element size, element count, format and "
                                      "optionally a name; found %1 fields")
                           .arg(fields.size()));
        XifProperty property = declaration(lines, record.line, fields);
        property.elementSize =
            xifNumber(lines, record.line, fields[5], 1, MaximumElementSize, "the element size");
        property.elementCount =
            xifNumber(lines, record.line, fields[6], 1, MaximumElementCount, "the element count");
        property.record->format = fields[7].toString();
        if (property.record->format.isEmpty())
            lines.fail(record.line, QStringLiteral("the property's format is empty"));
        property.record->formatSpec = property.record->format;
        property.record->name = fields.size() > 8 ? fields[8].toString() : property.record->format;
        property.setZeroDefault();
        properties.append(property);
    }
    return properties;
}

void valueFile(const XifLines& lines, const XifString& content, QList<XifProperty>& properties) {
    const QList<Record> values = records(content);
    for (qsizetype index = 0; index < values.size(); ++index) {
        if (index >= properties.size())
            lines.fail(values[index].line,
                       QStringLiteral("the value file has more values than the template file's "
                                      "%1 properties")
                           .arg(properties.size()));
        properties[index].setDefault(lines, values[index].line, values[index].text);
    }
    if (values.size() < properties.size())
        lines.fail(content.lastLine(),
                   QStringLiteral("the value file ends after %1 values; the template file "
                                  "declares %2 properties")
                       .arg(values.size())
                       .arg(properties.size()));
}

} // namespace XifProperties

} // namespace lns::sim
