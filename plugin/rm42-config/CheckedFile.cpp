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

std::optional<ConfigurationFile> validatedFile(const QString& path, QTextStream& err) {
    try {
        return validatedContents(path, readInputFile(path), err);
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return std::nullopt;
}

std::optional<ConfigurationFile> validatedContents(const QString& path, const QByteArray& contents,
                                                   QTextStream& err) {
    try {
        ConfigurationFile file =
            parseConfigurationFile(path, contents, thermostatProgramId(), ConfigurationFields(1));
        ConfigurationFields fields(file.unitSystem);
        Thermostat::formGeneralOptions(fields, file.hvacType);
        std::vector<ValueProblem> problems = valueProblems(file.fields, fields);
        for (ValueProblem& problem : encodingProblems(file.fields, fields))
            problems.push_back(std::move(problem));
        if (problems.empty())
            return file;
        err << echoed(path) << ": refused, nothing written; " << problems.size()
            << (problems.size() == 1 ? " value breaks" : " values break") << " the rules:\n";
        for (const ValueProblem& problem : problems)
            err << "  " << printable(problem.text()) << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return std::nullopt;
}
