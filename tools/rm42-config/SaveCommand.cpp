// rm42-config save: one device's configuration to a file or standard output,
// or every thermostat of a subsystem or of the network to a folder.
#include "CommandLine.h"
#include "DeviceConfiguration.h"
#include "Subcommands.h"
#include "Thermostat.h"

#include <QDir>
#include <QSet>

namespace {

// The configuration of the device as JSON; throws Error when it cannot be read.
QByteArray savedConfiguration(const ThermostatNetwork& network, const DeviceTarget& target,
                              qint16 units) {
    Thermostat thermostat(network.system(), target.device, target.path, units);
    thermostat.read();
    return configurationJson(configurationOf(thermostat, network.name()));
}

int saveOne(const ThermostatNetwork& network, const DeviceTarget& target, qint16 units,
            const QString& outputFile, QTextStream& out, QTextStream& err) {
    QByteArray json;
    try {
        json = savedConfiguration(network, target, units);
    } catch (const Error& error) {
        err << "rm42-config: " << target.path << ": failed: " << oneLine(error.description())
            << '\n';
        return ExitStatus::SomeDeviceFailed;
    }
    if (outputFile.isEmpty() || outputFile == u"-") {
        out << json;
        return ExitStatus::Done;
    }
    writeFileAtomically(outputFile, json);
    out << target.path << ": saved to " << outputFile << '\n';
    return ExitStatus::Done;
}

int saveEach(const ThermostatNetwork& network, const std::vector<DeviceTarget>& targets,
             qint16 units, const QString& folder, QTextStream& out, QTextStream& err) {
    if (!QDir().mkpath(folder)) {
        err << "rm42-config: the folder " << folder << " cannot be made\n";
        return ExitStatus::Refused;
    }
    int failed = 0;
    QSet<QString> names;
    for (const DeviceTarget& target : targets) {
        const QString name = configurationFileName(target.path);
        const QString file = QDir(folder).filePath(name);
        try {
            if (names.contains(name))
                throw FileProblem(file + QStringLiteral(" was already saved for another device of "
                                                        "that name"));
            names.insert(name);
            writeFileAtomically(file, savedConfiguration(network, target, units));
            out << target.path << ": saved to " << file << '\n';
        } catch (const Error& error) {
            ++failed;
            out << target.path << ": failed: " << oneLine(error.description()) << '\n';
        } catch (const FileProblem& problem) {
            ++failed;
            out << target.path << ": failed: " << problem.message() << '\n';
        }
    }
    const qsizetype count = targets.size();
    out << count << (count == 1 ? " device: " : " devices: ") << count - failed << " saved, "
        << failed << " failed\n";
    return failed == 0 ? ExitStatus::Done : ExitStatus::SomeDeviceFailed;
}

} // namespace

int runSave(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line = parseCommandLine(
        words, {QStringLiteral("-o"), QStringLiteral("--subsystem"), QStringLiteral("--interface")},
        {QStringLiteral("--all")}, err);
    if (!line)
        return usageOf("save", err);
    const bool many =
        line->has(QStringLiteral("--all")) || line->values.contains(QStringLiteral("--subsystem"));
    const bool oneChoice = (line->positional.size() == 2) + line->has(QStringLiteral("--all")) +
                               line->values.contains(QStringLiteral("--subsystem")) ==
                           1;
    const QString output = line->value(QStringLiteral("-o"));
    if (line->positional.isEmpty() || line->positional.size() > 2 || !oneChoice ||
        (many && output.isEmpty()))
        return usageOf("save", err);
    try {
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        if (!many)
            return saveOne(network, network.device(line->positional[1]),
                           ConfigurationFile::SavedUnitSystem, output, out, err);
        const std::vector<DeviceTarget> targets =
            line->has(QStringLiteral("--all"))
                ? network.allThermostats()
                : network.subsystemThermostats(line->value(QStringLiteral("--subsystem")));
        return saveEach(network, targets, ConfigurationFile::SavedUnitSystem, output, out, err);
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
