// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ShownValues.h"
#include "SiteReport.h"

#include <QString>
#include <QStringList>
#include <vector>

// The printable commissioning report, whatever draws it (HTML, PDF): a
// first sheet listing every thermostat with its state and every device
// that could not be read with the reason, then a sheet per thermostat read,
// its values by the window's tabs in the window's order with their units.
struct SheetRow {
    QString description;
    QString name;
    QString value;
    QString unit;
};

struct SheetGroup {
    QString caption;
    std::vector<SheetRow> rows;
};

struct DeviceSheet {
    QString path;
    // "network, device, date, tool version" and the device's own facts.
    QStringList header;
    std::vector<SheetGroup> groups;
};

struct SummaryRow {
    QString path;
    QString state;
    QString model;
    QString hvacType;
    QString read;
};

struct NotReadRow {
    QString path;
    QString why;
};

struct ReportSheets {
    QString title;
    QStringList header;
    std::vector<SummaryRow> summary;
    std::vector<NotReadRow> notRead;
    std::vector<DeviceSheet> devices;
};

ReportSheets reportSheets(const SiteReport& report, ShownValues& shown);

// Date and time as the report prints them: "2026-12-09 07:41 UTC".
QString reportTime(const QDateTime& time);
