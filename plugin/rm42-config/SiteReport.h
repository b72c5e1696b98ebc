// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFile.h"
#include "ProgressBar.h"
#include "SavedSite.h"
#include "ThermostatNetwork.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// One thermostat of a report: its configuration as read (its time read is
// the configuration's "saved"), or why it could not be read.
struct ReportedDevice {
    QString path;
    // The window's state word; "as saved" for a device of a site folder.
    QString state;
    std::optional<ConfigurationFile> configuration;
    QString failure;
    qint32 errorNumber = 0;
};

// What a commissioning report tells, whatever its form.
struct SiteReport {
    QString network;
    // Where the values come from: "network" or the site folder's path.
    QString source;
    QDateTime made;
    QString toolVersion;
    qint16 units = 1;
    std::vector<ReportedDevice> devices;
};

// The targets read for a report as save reads them, several at once; each
// device goes to `done` in the targets' order as soon as it and every
// device before it are read.
std::vector<ReportedDevice> readForReport(const ThermostatNetwork& network, int jobs,
                                          const std::vector<DeviceTarget>& targets,
                                          ProgressBar& progress,
                                          const std::function<void(const ReportedDevice&)>& done);

// The devices of a site folder as saved; a file that cannot be used is a
// device not read.
std::vector<ReportedDevice> savedForReport(const SavedSite& site);
