// SPDX-License-Identifier: Apache-2.0
#include "HtmlReport.h"

namespace {

const char* const Style =
    "@page { size: A4; margin: 12mm; }\n"
    "body { font-family: 'DejaVu Sans', sans-serif; font-size: 9pt; }\n"
    "h1 { font-size: 14pt; margin: 0 0 4pt; }\n"
    "h2 { font-size: 10pt; margin: 6pt 0 2pt; }\n"
    "p.header { margin: 0 0 6pt; color: #333; }\n"
    "table { border-collapse: collapse; width: 100%; }\n"
    "th, td { text-align: left; padding: 1pt 4pt; border-bottom: 0.5pt solid #ccc; }\n"
    "td.value { text-align: right; white-space: nowrap; }\n"
    "td.name { color: #666; }\n"
    "section.sheet { break-before: page; page-break-before: always; }\n"
    "div.columns { column-count: 2; column-gap: 12pt; }\n"
    "div.group { break-inside: avoid; }\n";

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString cells(const QStringList& texts, const char* tag) {
    QString row = QStringLiteral("<tr>");
    for (const QString& text : texts)
        row += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), escaped(text));
    return row + QStringLiteral("</tr>\n");
}

QString header(const QStringList& facts) {
    QStringList shown;
    for (const QString& fact : facts)
        shown << escaped(fact);
    return QStringLiteral("<p class=\"header\">") + shown.join(QStringLiteral(" &middot; ")) +
           QStringLiteral("</p>\n");
}

QString summary(const ReportSheets& sheets) {
    QString html =
        QStringLiteral("<section>\n<h1>%1</h1>\n").arg(escaped(sheets.title)) +
        header(sheets.header) + QStringLiteral("<table>\n") +
        cells({QStringLiteral("Device"), QStringLiteral("State"), QStringLiteral("Model"),
               QStringLiteral("HVAC type"), QStringLiteral("Read")},
              "th");
    for (const SummaryRow& row : sheets.summary)
        html += cells({row.path, row.state, row.model, row.hvacType, row.read}, "td");
    html += QStringLiteral("</table>\n");
    if (!sheets.notRead.empty()) {
        html += QStringLiteral("<h2>Not read</h2>\n<table>\n") +
                cells({QStringLiteral("Device"), QStringLiteral("Why")}, "th");
        for (const NotReadRow& row : sheets.notRead)
            html += cells({row.path, row.why}, "td");
        html += QStringLiteral("</table>\n");
    }
    return html + QStringLiteral("</section>\n");
}

QString sheet(const DeviceSheet& device) {
    QString html = QStringLiteral("<section class=\"sheet\">\n<h1>%1</h1>\n")
                       .arg(escaped(QStringLiteral("Commissioning sheet: ") + device.path)) +
                   header(device.header) + QStringLiteral("<div class=\"columns\">\n");
    for (const SheetGroup& group : device.groups) {
        html += QStringLiteral("<div class=\"group\"><h2>%1</h2>\n<table>\n")
                    .arg(escaped(group.caption));
        for (const SheetRow& row : group.rows)
            html += QStringLiteral("<tr><td>%1</td><td class=\"name\">%2</td>"
                                   "<td class=\"value\">%3</td><td>%4</td></tr>\n")
                        .arg(escaped(row.description), escaped(row.name), escaped(row.value),
                             escaped(row.unit));
        html += QStringLiteral("</table></div>\n");
    }
    return html + QStringLiteral("</div>\n</section>\n");
}

} // namespace

QByteArray htmlReport(const ReportSheets& sheets) {
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta "
                                  "charset=\"utf-8\">\n<title>%1</title>\n<style>\n%2</style>\n"
                                  "</head>\n<body>\n")
                       .arg(escaped(sheets.title), QLatin1String(Style));
    html += summary(sheets);
    for (const DeviceSheet& device : sheets.devices)
        html += sheet(device);
    return (html + QStringLiteral("</body>\n</html>\n")).toUtf8();
}
