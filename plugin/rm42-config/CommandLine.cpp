// SPDX-License-Identifier: Apache-2.0
#include "CommandLine.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"

std::optional<CommandLine> parseCommandLine(const QStringList& words,
                                            const QStringList& valueOptions,
                                            const QStringList& flags, QTextStream& err) {
    CommandLine line;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (valueOptions.contains(word)) {
            if (i + 1 >= words.size()) {
                err << "rm42-config: " << word << " needs a value\n";
                return std::nullopt;
            }
            line.values.insert(word, words[++i]);
        } else if (flags.contains(word)) {
            line.flags.insert(word);
        } else if (word.startsWith(u'-') && word.size() > 1) {
            err << "rm42-config: unknown option " << word << '\n';
            return std::nullopt;
        } else {
            line.positional << word;
        }
    }
    return line;
}

std::optional<qint16> unitsOption(const CommandLine& line, qint16 otherwise, QTextStream& err) {
    if (!line.values.contains(QStringLiteral("--units")))
        return otherwise;
    const std::optional<qint16> units = unitSystemNamed(line.value(QStringLiteral("--units")));
    if (!units)
        err << "rm42-config: --units takes US or SI, not \""
            << line.value(QStringLiteral("--units")) << "\"\n";
    return units;
}

std::optional<int> jobsOption(const CommandLine& line, QTextStream& err) {
    if (!line.values.contains(QStringLiteral("--jobs")))
        return DefaultJobs;
    const QString text = line.value(QStringLiteral("--jobs"));
    bool isNumber = false;
    const int jobs = text.toInt(&isNumber);
    if (isNumber && jobs >= 1 && jobs <= MostJobs)
        return jobs;
    err << "rm42-config: --jobs takes a whole number from 1 to " << MostJobs << ", not \""
        << echoed(text) << "\"\n";
    return std::nullopt;
}
