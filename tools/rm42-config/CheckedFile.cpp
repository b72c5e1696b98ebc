#include "CheckedFile.h"

#include "ConfigurationFields.h"
#include "HeldValues.h"
#include "Thermostat.h"
#include "ThermostatNetwork.h"
#include "Validation.h"

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
        ConfigurationFile file =
            readConfigurationFile(path, thermostatProgramId(), configurableFieldNames());
        ConfigurationFields fields(file.unitSystem);
        Thermostat::formGeneralOptions(fields, file.hvacType);
        std::vector<ValueProblem> problems = valueProblems(file.fields, fields);
        for (ValueProblem& problem : encodingProblems(file.fields, fields))
            problems.push_back(std::move(problem));
        if (problems.empty())
            return file;
        err << path << ": refused, nothing written; " << problems.size()
            << (problems.size() == 1 ? " value breaks" : " values break") << " the rules:\n";
        for (const ValueProblem& problem : problems)
            err << "  " << problem.text() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return std::nullopt;
}
