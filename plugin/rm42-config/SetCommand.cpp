// SPDX-License-Identifier: Apache-2.0
// rm42-config set NETWORK DEVICE FIELD=VALUE...: a few fields written with
// the checks and the writing of apply.
#include "CheckedFile.h"
#include "CommandLine.h"
#include "DeviceReport.h"
#include "EchoedText.h"
#include "FieldTexts.h"
#include "NearestName.h"
#include "Subcommands.h"

namespace {

// FIELD=VALUE words as the device takes the values (times as files write
// them); nothing and a message for a word that is not one.
std::optional<QMap<QString, QString>> assignments(const QStringList& words,
                                                  const ConfigurationFields& catalog,
                                                  QTextStream& err) {
    const QStringList known = configurableFieldNames();
    QMap<QString, QString> values;
    for (const QString& word : words) {
        const qsizetype equals = word.indexOf(u'=');
        const QString name = word.left(equals);
        if (equals <= 0) {
            err << "rm42-config: \"" << echoed(word) << "\" is not FIELD=VALUE\n";
            return std::nullopt;
        }
        if (!known.contains(name)) {
            err << "rm42-config: unknown field \"" << echoed(name) << '"' << didYouMean(name, known)
                << '\n';
            return std::nullopt;
        }
        // Longer than any field takes: refused before a check quotes it.
        if (word.size() - equals - 1 > 64) {
            err << "rm42-config: " << name << ": the value is " << word.size() - equals - 1
                << " characters long, longer than any field takes\n";
            return std::nullopt;
        }
        values.insert(name, deviceText(*catalog.find(name), word.mid(equals + 1)));
    }
    return values;
}

} // namespace

int runSet(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words, {QStringLiteral("--units"), QStringLiteral("--interface")},
                         {QStringLiteral("--dry-run")}, err);
    if (!line || line->positional.size() < 3)
        return usageOf("set", err);
    const std::optional<qint16> units = unitsOption(*line, storedDisplayUnits(), err);
    if (!units)
        return ExitStatus::Refused;
    const ConfigurationFields catalog(*units);
    const std::optional<QMap<QString, QString>> values =
        assignments(line->positional.mid(2), catalog, err);
    if (!values)
        return ExitStatus::Refused;
    ConfigurationFile file;
    file.programId = thermostatProgramId();
    file.unitSystem = *units;
    file.fields = *values;
    const std::vector<ValueProblem> problems =
        valueProblems(file.fields, catalog);
    if (!problems.empty()) {
        err << "rm42-config: refused, nothing written:\n";
        for (const ValueProblem& problem : problems)
            err << "  " << problem.text() << '\n';
        return ExitStatus::Refused;
    }
    const bool dryRun = line->has(QStringLiteral("--dry-run"));
    try {
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        const DeviceTarget target = network.device(line->positional[1]);
        ActivityLogLines log;
        // The location is written when it is asked for by name.
        DeviceConfiguration configuration(file, {dryRun, {}, true}, network.name(),
                                          network.system(), log);
        DeviceReport report(out, err, 1, dryRun);
        const DeviceOutcome outcome = configuration.applyTo(target);
        report.report(outcome);
        const int status = report.finish();
        return outcome.problems.empty() ? status : ExitStatus::Refused;
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
        return ExitStatus::Refused;
    }
}
