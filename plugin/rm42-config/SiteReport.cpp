// SPDX-License-Identifier: Apache-2.0
#include "SiteReport.h"

#include "DeviceConfiguration.h"
#include "DeviceJobs.h"
#include "Thermostat.h"
#include "platform/Error.h"

#include <memory>

namespace {

ReportedDevice readDevice(const DeviceJob& job) {
    ReportedDevice device{job.target.path, QString(), std::nullopt, QString(), 0};
    try {
        if (job.target.device)
            device.state = deviceStateWord(*job.target.device);
        device.configuration = savedConfiguration(job.network, job.target);
    } catch (const Error& error) {
        device.failure = oneLine(error.description());
        device.errorNumber = error.number();
    }
    return device;
}

} // namespace

std::vector<ReportedDevice> readForReport(const ThermostatNetwork& network, int jobs,
                                          const std::vector<DeviceTarget>& targets,
                                          ProgressBar& progress,
                                          const std::function<void(const ReportedDevice&)>& done) {
    std::vector<ReportedDevice> devices;
    devices.reserve(targets.size());
    DeviceJobs(network, jobs, progress)
        .run(targets, [&](const DeviceJob& job) -> DeviceJobs::Finish {
            auto device = std::make_shared<ReportedDevice>(readDevice(job));
            return [&, device] {
                devices.push_back(std::move(*device));
                done(devices.back());
            };
        });
    return devices;
}

std::vector<ReportedDevice> savedForReport(const SavedSite& site) {
    std::vector<ReportedDevice> devices;
    for (const SavedSiteDevice& saved : site.devices)
        devices.push_back(
            {saved.device, QStringLiteral("as saved"), saved.configuration, saved.failure, 0});
    return devices;
}
