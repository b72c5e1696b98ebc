// SPDX-License-Identifier: Apache-2.0
#include "CsvReport.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <climits>

namespace {

struct Column {
    QString name;
    QString description;
    QString unit;
};

const std::vector<Column>& deviceColumns() {
    static const std::vector<Column> columns = {
        {QStringLiteral("device"), QStringLiteral("Device (subsystem/device)"), QString()},
        {QStringLiteral("state"), QStringLiteral("State"), QString()},
        {QStringLiteral("model"), QStringLiteral("Model"), QString()},
        {QStringLiteral("hvacType"), QStringLiteral("HVAC type"), QString()},
        {QStringLiteral("programId"), QStringLiteral("Program ID"), QString()},
        {QStringLiteral("read"), QStringLiteral("Read (UTC)"), QString()},
        {QStringLiteral("notRead"), QStringLiteral("Why it was not read"), QString()}};
    return columns;
}

// A number is data; any other text starting so would run as a formula.
QString defused(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
    static const QRegularExpression formulaStart(QStringLiteral("^[=+\\-@\\t\\r]"));
    if (formulaStart.match(text).hasMatch() && !number.match(text).hasMatch())
        return u'\'' + text;
    return text;
}

QMap<QString, int> catalogPositions(ShownValues& shown) {
    QMap<QString, int> positions;
    for (const PlacedField& placed : shown.catalog(shown.units(), QString()).placed())
        positions.insert(placed.name(), static_cast<int>(positions.size()));
    return positions;
}

QString row(const QStringList& cells) {
    QStringList written;
    for (const QString& cell : cells)
        written << csvCell(defused(cell));
    return written.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QString csvCell(const QString& text) {
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\\r\\n]"));
    if (!needsQuotes.match(text).hasMatch())
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QByteArray csvReport(const SiteReport& report, ShownValues& shown) {
    // A column for each field any device holds, in the window's catalog order.
    std::vector<std::vector<ShownField>> fields;
    std::vector<Column> fieldColumns;
    QSet<QString> named;
    for (const ReportedDevice& device : report.devices) {
        fields.push_back(device.configuration ? shown.fieldsOf(*device.configuration)
                                              : std::vector<ShownField>());
        for (const ShownField& field : fields.back()) {
            if (!named.contains(field.name))
                fieldColumns.push_back({field.name, field.description, field.unit});
            named.insert(field.name);
        }
    }
    const QMap<QString, int> positions = catalogPositions(shown);
    std::stable_sort(fieldColumns.begin(), fieldColumns.end(),
                     [&](const Column& a, const Column& b) {
                         return positions.value(a.name, INT_MAX) < positions.value(b.name, INT_MAX);
                     });
    QMap<QString, qsizetype> columnOf;
    for (size_t c = 0; c < fieldColumns.size(); ++c)
        columnOf.insert(fieldColumns[c].name, static_cast<qsizetype>(c));
    QStringList names;
    QStringList descriptions;
    QStringList units;
    const std::vector<Column>& fixed = deviceColumns();
    for (const std::vector<Column>* columns : {&fixed, &std::as_const(fieldColumns)}) {
        for (const Column& column : *columns) {
            names << column.name;
            descriptions << column.description;
            units << column.unit;
        }
    }
    QString text = row(names) + row(descriptions) + row(units);
    for (size_t d = 0; d < report.devices.size(); ++d) {
        const ReportedDevice& device = report.devices[d];
        const std::optional<ConfigurationFile>& read = device.configuration;
        QStringList cells = {device.path,
                             device.state,
                             read ? QString::number(read->model) : QString(),
                             read ? read->hvacType : QString(),
                             read ? read->programId : QString(),
                             read ? read->saved.toUTC().toString(Qt::ISODate) : QString(),
                             device.failure};
        QStringList values(static_cast<qsizetype>(fieldColumns.size()));
        for (const ShownField& field : fields[d])
            values[columnOf.value(field.name)] = field.text;
        text += row(cells + values);
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}
