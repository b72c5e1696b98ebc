// SPDX-License-Identifier: Apache-2.0
// rm42-config check FILE: the form of the file and every value against the rules.
#include "CheckedFile.h"
#include "CommandLine.h"
#include "Subcommands.h"

int runCheck(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line = parseCommandLine(words, {}, {}, err);
    if (!line || line->positional.size() != 1)
        return usageOf("check", err);
    const QString path = line->positional.first();
    const std::optional<ConfigurationFile> file = validatedFile(path, err);
    if (!file)
        return ExitStatus::Refused;
    out << path << ": valid, " << file->fields.size() << " fields in "
        << unitsName(file->unitSystem) << " units, model " << file->model << ' ' << file->hvacType
        << ", saved from " << file->network << ' ' << file->device << '\n';
    return ExitStatus::Done;
}
