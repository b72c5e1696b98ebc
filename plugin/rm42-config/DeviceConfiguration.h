// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ActivityLogLines.h"
#include "ConfigurationFile.h"
#include "ThermostatNetwork.h"
#include "Validation.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Thermostat;

// The configuration of a thermostat read from the device: every configurable
// field its model shows and enables, and its identity values.
ConfigurationFile configurationOf(const Thermostat& thermostat, const QString& network);
// The configuration of the target's device read as save keeps it (in the
// saved unit system); throws Error when it cannot be looked up or read.
ConfigurationFile savedConfiguration(const ThermostatNetwork& network, const DeviceTarget& target);

struct FieldChange {
    QString field;
    QString from;
    QString to;
};

struct DeviceOutcome {
    enum class Result { Changed, Unchanged, Skipped, Failed };

    QString device;
    Result result = Result::Unchanged;
    std::vector<FieldChange> changes;
    // Fields of the file that the device's model hides or disables.
    QStringList hiddenFields;
    // Values written before a failure.
    QStringList sentValues;
    // Why the device was skipped or failed, and the number of the error
    // that failed it (0 when the program itself stopped it).
    QString reason;
    qint32 errorNumber = 0;
    // Broken setpoint rules once the values are in place (a reason to skip).
    std::vector<ValueProblem> problems;
};

struct ApplyOptions {
    bool dryRun = false;
    // Saves a device before it is changed (none when empty); throws FileProblem.
    std::function<void(const ConfigurationFile&)> backUp;
    bool includeLocation = false;
};

// Writes the values of a configuration to thermostats: each is read, its
// fields compared, and only the values that differ are sent, one send per
// changed value, in catalog order. Values are never adjusted.
class DeviceConfiguration {
public:
    DeviceConfiguration(ConfigurationFile file, ApplyOptions options, QString network,
                        lns::Ref<lns::System> system, ActivityLogLines& log);

    DeviceOutcome applyTo(const DeviceTarget& target);

private:
    std::vector<FieldChange> changesFor(Thermostat& thermostat, DeviceOutcome& outcome) const;
    std::vector<ValueProblem> setpointProblemsAfter(const Thermostat& thermostat,
                                                    const std::vector<FieldChange>& changes) const;
    void send(Thermostat& thermostat, const std::vector<FieldChange>& changes,
              DeviceOutcome& outcome);
    DeviceOutcome failed(DeviceOutcome outcome, const Error& error);

    ConfigurationFile m_file;
    ApplyOptions m_options;
    QString m_network;
    lns::Ref<lns::System> m_system;
    ActivityLogLines& m_log;
};

// An error's text on one line: its lines joined with ": ".
QString oneLine(const QString& description);
