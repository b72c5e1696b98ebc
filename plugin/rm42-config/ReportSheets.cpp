// SPDX-License-Identifier: Apache-2.0
#include "ReportSheets.h"

#include "model/ControlPlacement.h"

namespace {

// Values the window places nowhere (identity values read but not shown).
const QString OtherCaption = QStringLiteral("Other values");

std::vector<SheetGroup> groupsOf(const std::vector<ShownField>& fields) {
    const QStringList& captions = tabCaptions();
    std::vector<SheetGroup> groups(static_cast<size_t>(captions.size()) + 1);
    for (qsizetype tab = 0; tab < captions.size(); ++tab)
        groups[static_cast<size_t>(tab)].caption = captions[tab];
    groups.back().caption = OtherCaption;
    for (const ShownField& field : fields) {
        const bool placed = field.tab >= 0 && field.tab < captions.size();
        SheetGroup& group = placed ? groups[static_cast<size_t>(field.tab)] : groups.back();
        group.rows.push_back({field.description.isEmpty() ? field.name : field.description,
                              field.name, field.text, field.unit});
    }
    std::erase_if(groups, [](const SheetGroup& group) { return group.rows.empty(); });
    return groups;
}

DeviceSheet deviceSheet(const SiteReport& report, const ReportedDevice& device,
                        ShownValues& shown) {
    const ConfigurationFile& read = *device.configuration;
    DeviceSheet sheet;
    sheet.path = device.path;
    sheet.header = {QStringLiteral("Network %1").arg(report.network),
                    QStringLiteral("Device %1").arg(device.path),
                    QStringLiteral("Report of %1").arg(reportTime(report.made)),
                    QStringLiteral("rm42-config %1").arg(report.toolVersion),
                    QStringLiteral("State %1").arg(device.state),
                    QStringLiteral("Model %1").arg(read.model),
                    QStringLiteral("HVAC type %1").arg(read.hvacType),
                    QStringLiteral("Program ID %1").arg(read.programId),
                    QStringLiteral("Read %1").arg(reportTime(read.saved)),
                    QStringLiteral("Units %1").arg(unitsName(report.units))};
    sheet.groups = groupsOf(shown.fieldsOf(read));
    return sheet;
}

} // namespace

QString reportTime(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

ReportSheets reportSheets(const SiteReport& report, ShownValues& shown) {
    ReportSheets sheets;
    sheets.title = QStringLiteral("Commissioning report: %1").arg(report.network);
    qsizetype notRead = 0;
    for (const ReportedDevice& device : report.devices)
        notRead += !device.configuration;
    sheets.header = {QStringLiteral("Network %1").arg(report.network),
                     QStringLiteral("Report of %1").arg(reportTime(report.made)),
                     QStringLiteral("rm42-config %1").arg(report.toolVersion),
                     QStringLiteral("Read from %1").arg(report.source),
                     (report.devices.size() == 1 ? QStringLiteral("%1 thermostat, %2 not read")
                                                 : QStringLiteral("%1 thermostats, %2 not read"))
                         .arg(report.devices.size())
                         .arg(notRead),
                     QStringLiteral("Units %1").arg(unitsName(report.units))};
    for (const ReportedDevice& device : report.devices) {
        if (!device.configuration) {
            sheets.summary.push_back(
                {device.path, device.state, QString(), QString(), QStringLiteral("not read")});
            sheets.notRead.push_back({device.path, device.failure});
            continue;
        }
        const ConfigurationFile& read = *device.configuration;
        sheets.summary.push_back({device.path, device.state, QString::number(read.model),
                                  read.hvacType, reportTime(read.saved)});
        sheets.devices.push_back(deviceSheet(report, device, shown));
    }
    return sheets;
}
