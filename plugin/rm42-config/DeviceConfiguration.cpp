// SPDX-License-Identifier: Apache-2.0
#include "DeviceConfiguration.h"

#include "HeldValues.h"
#include "Thermostat.h"
#include "platform/Error.h"

namespace {

const QString LocationField = QStringLiteral("nciLocation");

QString hvacKind(const QString& hvacType) {
    return Thermostat::isHeatPumpType(hvacType) ? QStringLiteral("a heat pump")
                                                : QStringLiteral("a rooftop unit");
}

} // namespace

QString oneLine(const QString& description) {
    QStringList lines = description.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    return lines.join(QStringLiteral(": "));
}

ConfigurationFile configurationOf(const Thermostat& thermostat, const QString& network) {
    ConfigurationFile file;
    file.programId = thermostatProgramId();
    file.network = network;
    file.device = thermostat.path();
    file.model = thermostat.model();
    file.hvacType = thermostat.hvacType();
    file.saved = QDateTime::currentDateTimeUtc();
    const ConfigurationFields& fields = thermostat.fields();
    file.unitSystem = fields.unitSystem();
    const ModelLayout layout = thermostat.layout();
    for (const PlacedField& placed : fields.placed()) {
        if (placed.configurable() && isAvailable(placed.placement, layout))
            file.fields.insert(placed.name(), placed.item());
    }
    for (const auto& field : fields.specific().NvCtrlTables) {
        const PlacedField* placed = fields.find(field->Name);
        if (!placed || !placed->configurable())
            file.readOnly.insert(field->Name, fields.itemOf(field->Name));
    }
    return file;
}

ConfigurationFile savedConfiguration(const ThermostatNetwork& network, const DeviceTarget& target) {
    if (!target.device)
        throw Error(0, QStringLiteral("rm42-config"), target.failure);
    Thermostat thermostat(network.system(), target.device, target.path,
                          ConfigurationFile::SavedUnitSystem);
    thermostat.read();
    return configurationOf(thermostat, network.name());
}

DeviceConfiguration::DeviceConfiguration(ConfigurationFile file, ApplyOptions options,
                                         QString network, lns::Ref<lns::System> system,
                                         ActivityLogLines& log)
    : m_file(std::move(file)), m_options(std::move(options)), m_network(std::move(network)),
      m_system(std::move(system)), m_log(log) {}

DeviceOutcome DeviceConfiguration::applyTo(const DeviceTarget& target) {
    DeviceOutcome outcome;
    outcome.device = target.path;
    m_log.LogCommand(QStringLiteral("Device"), target.path);
    if (!target.device) {
        m_log.LogError(QStringLiteral("Error looking up ") + target.path + QStringLiteral("\r\n") +
                       target.failure);
        outcome.result = DeviceOutcome::Result::Failed;
        outcome.reason = target.failure;
        return outcome;
    }
    Thermostat thermostat(m_system, target.device, target.path, m_file.unitSystem);
    try {
        const QString programId = target.device->ProgramId();
        if (programId != m_file.programId) {
            outcome.result = DeviceOutcome::Result::Skipped;
            outcome.reason = QStringLiteral("program ID %1 is not the thermostats' %2")
                                 .arg(programId, m_file.programId);
            return outcome;
        }
        thermostat.read([this](const CNvCpTable& value) {
            m_log.LogCommand(QStringLiteral("Reading ") + value.Name, value.NvAsString());
        });
    } catch (const Error& error) {
        return failed(std::move(outcome), error);
    }
    // A file without an HVAC type (the values of set) suits any device.
    if (!m_file.hvacType.isEmpty() &&
        thermostat.isHeatPump() != Thermostat::isHeatPumpType(m_file.hvacType)) {
        outcome.result = DeviceOutcome::Result::Skipped;
        outcome.reason = QStringLiteral("the file is for %1, the device is %2 (%3)")
                             .arg(hvacKind(m_file.hvacType), hvacKind(thermostat.hvacType()),
                                  thermostat.hvacType());
        return outcome;
    }
    // The device's own forms decide; a file was checked against those of its HVAC type.
    outcome.problems = encodingProblems(m_file.fields, thermostat.fields());
    if (!outcome.problems.empty()) {
        outcome.result = DeviceOutcome::Result::Skipped;
        outcome.reason = QStringLiteral("the device cannot hold every value as given");
        return outcome;
    }
    const std::vector<FieldChange> changes = changesFor(thermostat, outcome);
    outcome.problems = setpointProblemsAfter(thermostat, changes);
    if (!outcome.problems.empty()) {
        outcome.result = DeviceOutcome::Result::Skipped;
        outcome.reason = QStringLiteral("its setpoints would break the setpoint rules");
        return outcome;
    }
    outcome.changes = changes;
    if (changes.empty()) {
        outcome.result = DeviceOutcome::Result::Unchanged;
        return outcome;
    }
    outcome.result = DeviceOutcome::Result::Changed;
    if (m_options.dryRun)
        return outcome;
    try {
        if (m_options.backUp)
            m_options.backUp(configurationOf(thermostat, m_network));
    } catch (const FileProblem& problem) {
        outcome.result = DeviceOutcome::Result::Failed;
        outcome.reason = QStringLiteral("no backup, nothing written: ") + problem.message();
        return outcome;
    }
    try {
        m_log.LogUpdatingDevice(target.path);
    } catch (const FileProblem& problem) {
        outcome.result = DeviceOutcome::Result::Failed;
        outcome.reason = QStringLiteral("not in the log, nothing written: ") + problem.message();
        return outcome;
    }
    send(thermostat, changes, outcome);
    return outcome;
}

std::vector<FieldChange> DeviceConfiguration::changesFor(Thermostat& thermostat,
                                                         DeviceOutcome& outcome) const {
    std::vector<FieldChange> changes;
    const ModelLayout layout = thermostat.layout();
    for (const PlacedField& placed : thermostat.fields().placed()) {
        const auto wanted = m_file.fields.constFind(placed.name());
        if (wanted == m_file.fields.constEnd() || !placed.configurable())
            continue;
        if (placed.name() == LocationField && !m_options.includeLocation)
            continue;
        if (!isAvailable(placed.placement, layout)) {
            outcome.hiddenFields << placed.name();
            continue;
        }
        const QString current = placed.item();
        if (!heldAlike(placed, current, *wanted))
            changes.push_back({placed.name(), current, *wanted});
    }
    return changes;
}

std::vector<ValueProblem>
DeviceConfiguration::setpointProblemsAfter(const Thermostat& thermostat,
                                           const std::vector<FieldChange>& changes) const {
    QMap<QString, QString> setpoints;
    for (const QString& name : setpointFieldNames())
        setpoints.insert(name, thermostat.fields().itemOf(name));
    for (const FieldChange& change : changes) {
        if (setpoints.contains(change.field))
            setpoints.insert(change.field, change.to);
    }
    return setpointProblems(setpoints);
}

void DeviceConfiguration::send(Thermostat& thermostat, const std::vector<FieldChange>& changes,
                               DeviceOutcome& outcome) {
    ConfigurationFields& fields = thermostat.fields();
    for (const FieldChange& change : changes)
        fields.find(change.field)->field->Value(change.to);
    for (const auto& value : fields.specific().NvCpTables) {
        if (!value->ValueAsChanges())
            continue;
        try {
            value->SendNetworkValue();
        } catch (const Error& error) {
            m_log.LogError(error.description());
            outcome.result = DeviceOutcome::Result::Failed;
            outcome.reason = oneLine(error.description());
            outcome.errorNumber = error.number();
            return;
        }
        m_log.LogCommand(QStringLiteral("Updating ") + value->Name, value->NvAsString());
        outcome.sentValues << value->Name;
    }
}

DeviceOutcome DeviceConfiguration::failed(DeviceOutcome outcome, const Error& error) {
    m_log.LogError(error.description());
    outcome.result = DeviceOutcome::Result::Failed;
    outcome.reason = oneLine(error.description());
    outcome.errorNumber = error.number();
    return outcome;
}
