// SPDX-License-Identifier: Apache-2.0
#include "CheckedFile.h"

#include "ConfigurationFields.h"
#include "EchoedText.h"
#include "HeldValues.h"
#include "InputFile.h"
#include "Thermostat.h"
#include "ThermostatNetwork.h"
#include "Validation.h"
#include "platform/PrintableText.h"

QStringList configurableFieldNames() {
    QStringList names;
    const ConfigurationFields fields(1);
    for (const PlacedField& placed : fields.placed()) {
        if (placed.configurable())
            names << placed.name();
    }
    return names;
}

FileCheck checkedFile(const QString& path) {
    try {
        return checkedContents(path, readInputFile(path));
    } catch (const FileProblem& problem) {
        return {std::nullopt, problem.message(), {}};
    }
}

FileCheck checkedContents(const QString& path, const QByteArray& contents) {
    try {
        ConfigurationFile file =
            parseConfigurationFile(path, contents, thermostatProgramId(), ConfigurationFields(1));
        ConfigurationFields fields(file.unitSystem);
        Thermostat::formGeneralOptions(fields, file.hvacType);
        std::vector<ValueProblem> problems = valueProblems(file.fields, fields);
        for (ValueProblem& problem : encodingProblems(file.fields, fields))
            problems.push_back(std::move(problem));
        if (problems.empty())
            return {std::move(file), QString(), {}};
        return {std::nullopt, QString(), std::move(problems)};
    } catch (const FileProblem& problem) {
        return {std::nullopt, problem.message(), {}};
    }
}

namespace {

std::optional<ConfigurationFile> told(const QString& path, FileCheck check, QTextStream& err) {
    if (!check.formProblem.isEmpty()) {
        err << "rm42-config: " << check.formProblem << '\n';
    } else if (!check.problems.empty()) {
        err << echoed(path) << ": refused, nothing written; " << check.problems.size()
            << (check.problems.size() == 1 ? " value breaks" : " values break") << " the rules:\n";
        for (const ValueProblem& problem : check.problems)
            err << "  " << printable(problem.text()) << '\n';
    }
    return std::move(check.file);
}

} // namespace

std::optional<ConfigurationFile> validatedFile(const QString& path, QTextStream& err) {
    return told(path, checkedFile(path), err);
}

std::optional<ConfigurationFile> validatedContents(const QString& path, const QByteArray& contents,
                                                   QTextStream& err) {
    return told(path, checkedContents(path, contents), err);
}
