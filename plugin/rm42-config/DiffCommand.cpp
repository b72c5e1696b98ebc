// SPDX-License-Identifier: Apache-2.0
// rm42-config diff A B: two devices, files or site folders compared value
// by value, with the exit status of diff(1).
#include "CommandLine.h"
#include "DiffSide.h"
#include "JsonResults.h"
#include "Subcommands.h"
#include "ThermostatNetwork.h"
#include "platform/PrintableText.h"

#include <algorithm>

namespace {

// As diff(1): 0 the same, 1 some difference, 2 trouble.
constexpr int Differ = 1;

QString outcomeName(DeviceComparison::Outcome outcome) {
    switch (outcome) {
    case DeviceComparison::Outcome::Same:
        return QStringLiteral("same");
    case DeviceComparison::Outcome::Differ:
        return QStringLiteral("differ");
    case DeviceComparison::Outcome::OnlyInA:
        return QStringLiteral("onlyInA");
    case DeviceComparison::Outcome::OnlyInB:
        break;
    }
    return QStringLiteral("onlyInB");
}

QString shownText(const std::optional<ShownField>& value) {
    if (!value)
        return QStringLiteral("(none)");
    return printable(value->text) + (value->unit.isEmpty() ? QString() : u' ' + value->unit);
}

void printText(QTextStream& out, const DiffSide& a, const DiffSide& b, qint16 units,
               const std::vector<DeviceComparison>& comparisons) {
    out << "A: " << printable(a.label) << '\n' << "B: " << printable(b.label) << '\n';
    int counts[4] = {};
    for (const DeviceComparison& comparison : comparisons) {
        ++counts[static_cast<int>(comparison.outcome)];
        out << printable(comparison.path) << ": ";
        switch (comparison.outcome) {
        case DeviceComparison::Outcome::Same:
            out << "same\n";
            continue;
        case DeviceComparison::Outcome::OnlyInA:
            out << "only in A\n";
            continue;
        case DeviceComparison::Outcome::OnlyInB:
            out << "only in B\n";
            continue;
        case DeviceComparison::Outcome::Differ:
            break;
        }
        const size_t count = comparison.differences.size();
        out << count << (count == 1 ? " value differs\n" : " values differ\n");
        for (const FieldDifference& difference : comparison.differences)
            out << "  " << difference.name << " (" << difference.description
                << "): " << shownText(difference.a) << " | " << shownText(difference.b) << '\n';
    }
    out << comparisons.size() << (comparisons.size() == 1 ? " device: " : " devices: ") << counts[0]
        << " same, " << counts[1] << " differ, " << counts[2] << " only in A, " << counts[3]
        << " only in B (values in " << unitsName(units) << " units)\n";
}

QJsonValue valueJson(const std::optional<ShownField>& value) {
    if (!value)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("value"), value->text},
                       {QStringLiteral("unit"), value->unit}};
}

void printJson(QTextStream& out, const DiffSide& a, const DiffSide& b, qint16 units,
               const std::vector<DeviceComparison>& comparisons) {
    JsonResults json(QStringLiteral("diff"));
    for (const auto& [key, side] : {std::pair{QStringLiteral("a"), &a}, {QStringLiteral("b"), &b}})
        json.set(key, QJsonObject{{QStringLiteral("kind"), kindName(side->kind)},
                                  {QStringLiteral("label"), side->label}});
    json.set(QStringLiteral("units"), unitsName(units));
    for (const DeviceComparison& comparison : comparisons) {
        QJsonArray differences;
        for (const FieldDifference& difference : comparison.differences)
            differences.append(QJsonObject{{QStringLiteral("field"), difference.name},
                                           {QStringLiteral("description"), difference.description},
                                           {QStringLiteral("a"), valueJson(difference.a)},
                                           {QStringLiteral("b"), valueJson(difference.b)}});
        json.add(QJsonObject{{QStringLiteral("path"), comparison.path},
                             {QStringLiteral("outcome"), outcomeName(comparison.outcome)},
                             {QStringLiteral("differences"), differences}});
    }
    json.print(out);
}

// A device or a file against a site is compared with the site's file of
// that device alone.
Configurations onlyDeviceOf(const DiffSide& side, const DiffSide& single) {
    Configurations kept;
    for (const auto& device : side.devices) {
        if (device.first == single.devices.front().first)
            kept.push_back(device);
    }
    return kept;
}

std::vector<DeviceComparison> compareSides(const DiffSide& a, const DiffSide& b,
                                           ShownValues& shown) {
    const bool aSite = a.kind == DiffSide::Kind::Site;
    const bool bSite = b.kind == DiffSide::Kind::Site;
    if (aSite && !bSite)
        return compareDevices(onlyDeviceOf(a, b), b.devices, true, shown);
    if (bSite && !aSite)
        return compareDevices(a.devices, onlyDeviceOf(b, a), true, shown);
    return compareDevices(a.devices, b.devices, aSite, shown);
}

} // namespace

int runDiff(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words, {QStringLiteral("--units"), QStringLiteral("--interface")},
                         {QStringLiteral("--json")}, err);
    if (!line || line->positional.size() < 2 || line->positional.size() > 4)
        return usageOf("diff", err);
    const QString networkInterface = line->value(QStringLiteral("--interface"));
    try {
        QStringList rest = line->positional;
        const DiffSide a = takeDiffSide(rest, networkInterface);
        const DiffSide b = takeDiffSide(rest, networkInterface);
        if (!rest.isEmpty())
            return usageOf("diff", err);
        const std::optional<qint16> units = unitsOption(*line, a.units, err);
        if (!units)
            return usageOf("diff", err);
        ShownValues shown(*units);
        const std::vector<DeviceComparison> comparisons = compareSides(a, b, shown);
        if (line->has(QStringLiteral("--json")))
            printJson(out, a, b, *units, comparisons);
        else
            printText(out, a, b, *units, comparisons);
        const bool same = std::all_of(comparisons.begin(), comparisons.end(), [](const auto& c) {
            return c.outcome == DeviceComparison::Outcome::Same;
        });
        return same ? ExitStatus::Done : Differ;
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    } catch (const FileProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
    }
    return ExitStatus::Refused;
}
