// SPDX-License-Identifier: Apache-2.0
#include "DiffSide.h"

#include "ConfigurationFields.h"
#include "DeviceConfiguration.h"
#include "EchoedText.h"
#include "SavedSite.h"
#include "ThermostatNetwork.h"
#include "platform/Error.h"

#include <QFileInfo>

namespace {

DiffSide siteSide(const QString& folder) {
    DiffSide side{DiffSide::Kind::Site, folder, {}, ConfigurationFile::SavedUnitSystem};
    for (SavedSiteDevice& device : readSavedSite(folder).devices) {
        if (!device.configuration)
            throw FileProblem(device.failure);
        side.devices.emplace_back(device.device, std::move(*device.configuration));
    }
    if (!side.devices.empty())
        side.units = side.devices.front().second.unitSystem;
    return side;
}

DiffSide fileSide(const QString& path) {
    ConfigurationFile file = readConfigurationFile(
        path, thermostatProgramId(), ConfigurationFields(ConfigurationFile::SavedUnitSystem));
    DiffSide side{DiffSide::Kind::File, path, {}, file.unitSystem};
    side.devices.emplace_back(file.device, std::move(file));
    return side;
}

DiffSide deviceSide(const QString& networkName, const QString& deviceName,
                    const QString& networkInterface) {
    const ThermostatNetwork network(networkName, networkInterface);
    const DeviceTarget target = network.device(deviceName);
    DiffSide side{
        DiffSide::Kind::Device, networkName + u' ' + target.path, {}, storedDisplayUnits()};
    try {
        side.devices.emplace_back(target.path, savedConfiguration(network, target));
    } catch (const Error& error) {
        throw InputProblem(target.path + QStringLiteral(": cannot be read: ") +
                           oneLine(error.description()));
    }
    return side;
}

} // namespace

DiffSide takeDiffSide(QStringList& words, const QString& networkInterface) {
    if (words.isEmpty())
        throw InputProblem(QStringLiteral("diff compares two sides: give A and B"));
    const QString first = words.takeFirst();
    if (isSiteFolder(first))
        return siteSide(first);
    if (QFileInfo(first).isDir())
        throw FileProblem(echoed(first) +
                          QStringLiteral(": a folder without a manifest, not a site saved "
                                         "with save --all"));
    if (QFileInfo::exists(first))
        return fileSide(first);
    if (words.isEmpty())
        throw InputProblem(QStringLiteral("no file \"%1\"; a device is given as NETWORK DEVICE")
                               .arg(echoed(first)));
    return deviceSide(first, words.takeFirst(), networkInterface);
}

QString kindName(DiffSide::Kind kind) {
    switch (kind) {
    case DiffSide::Kind::Device:
        return QStringLiteral("device");
    case DiffSide::Kind::Site:
        return QStringLiteral("site");
    case DiffSide::Kind::File:
        break;
    }
    return QStringLiteral("file");
}
