// SPDX-License-Identifier: Apache-2.0
// rm42-config check FILE: the form of the file and every value against the rules.
#include "CheckedFile.h"
#include "CommandLine.h"
#include "JsonResults.h"
#include "Subcommands.h"

#include <QJsonArray>

namespace {

// The file's result: "valid" with what the text tells of it, or "refused"
// with its problems.
QJsonObject checkJson(const QString& path, const FileCheck& check) {
    QJsonObject result{{QStringLiteral("path"), path}};
    if (const std::optional<ConfigurationFile>& file = check.file) {
        result.insert(QStringLiteral("outcome"), QStringLiteral("valid"));
        result.insert(QStringLiteral("fields"), static_cast<int>(file->fields.size()));
        result.insert(QStringLiteral("units"), unitsName(file->unitSystem));
        result.insert(QStringLiteral("model"), file->model);
        result.insert(QStringLiteral("hvacType"), file->hvacType);
        result.insert(QStringLiteral("network"), file->network);
        result.insert(QStringLiteral("device"), file->device);
        return result;
    }
    result.insert(QStringLiteral("outcome"), QStringLiteral("refused"));
    result.insert(QStringLiteral("problems"), problemsJson(check.problems));
    if (!check.formProblem.isEmpty())
        result.insert(QStringLiteral("error"), errorJson(check.formProblem, 0));
    return result;
}

} // namespace

int runCheck(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words, {}, {QStringLiteral("--json")}, err);
    if (!line || line->positional.size() != 1)
        return usageOf("check", err);
    const QString path = line->positional.first();
    if (line->has(QStringLiteral("--json"))) {
        const FileCheck check = checkedFile(path);
        JsonResults json(QStringLiteral("check"));
        json.add(checkJson(path, check));
        json.print(out);
        return check.file ? ExitStatus::Done : ExitStatus::Refused;
    }
    const std::optional<ConfigurationFile> file = validatedFile(path, err);
    if (!file)
        return ExitStatus::Refused;
    out << path << ": valid, " << file->fields.size() << " fields in "
        << unitsName(file->unitSystem) << " units, model " << file->model << ' ' << file->hvacType
        << ", saved from " << file->network << ' ' << file->device << '\n';
    return ExitStatus::Done;
}
