// SPDX-License-Identifier: Apache-2.0
#include "ConfigurationDiff.h"

#include "HeldValues.h"

#include <QSet>

namespace {

// The values of both, the window's placed fields first in its order.
QStringList namesInOrder(const QMap<QString, QString>& a, const QMap<QString, QString>& b,
                         const ConfigurationFields& catalog) {
    QStringList names;
    for (const PlacedField& placed : catalog.placed()) {
        if (a.contains(placed.name()) || b.contains(placed.name()))
            names << placed.name();
    }
    const QSet<QString> placed(names.cbegin(), names.cend());
    QStringList rest = a.keys() + b.keys();
    rest.removeDuplicates();
    rest.sort();
    for (const QString& name : rest) {
        if (!placed.contains(name))
            names << name;
    }
    return names;
}

void addHeaderDifference(std::vector<FieldDifference>& found, const QString& name,
                         const QString& description, const QString& a, const QString& b) {
    if (a != b)
        found.push_back({name, description, ShownField{name, description, -1, QString(), a},
                         ShownField{name, description, -1, QString(), b}});
}

bool alike(const ConfigurationFile& a, const ConfigurationFile& b, const QString& name,
           const QString& aText, const QString& bText, ShownValues& shown) {
    const PlacedField* aField = shown.catalog(a.unitSystem, a.hvacType).find(name);
    const PlacedField* bField = shown.catalog(b.unitSystem, b.hvacType).find(name);
    return aField && bField ? heldAlike(*aField, aText, *bField, bText) : aText == bText;
}

} // namespace

std::vector<FieldDifference> differences(const ConfigurationFile& a, const ConfigurationFile& b,
                                         ShownValues& shown) {
    std::vector<FieldDifference> found;
    addHeaderDifference(found, QStringLiteral("model"), QStringLiteral("Model"),
                        QString::number(a.model), QString::number(b.model));
    addHeaderDifference(found, QStringLiteral("hvacType"), QStringLiteral("HVAC type"), a.hvacType,
                        b.hvacType);
    const QMap<QString, QString> aValues = allValues(a);
    const QMap<QString, QString> bValues = allValues(b);
    for (const QString& name :
         namesInOrder(aValues, bValues, shown.catalog(shown.units(), a.hvacType))) {
        const auto aText = aValues.constFind(name);
        const auto bText = bValues.constFind(name);
        const bool inA = aText != aValues.constEnd();
        const bool inB = bText != bValues.constEnd();
        if (inA && inB && alike(a, b, name, *aText, *bText, shown))
            continue;
        FieldDifference difference{name, QString(), std::nullopt, std::nullopt};
        if (inA)
            difference.a = shown.field(a, name, *aText);
        if (inB)
            difference.b = shown.field(b, name, *bText);
        difference.description = (inA ? difference.a : difference.b)->description;
        found.push_back(std::move(difference));
    }
    return found;
}

namespace {

DeviceComparison compared(const QString& path, const ConfigurationFile& a,
                          const ConfigurationFile& b, ShownValues& shown) {
    DeviceComparison comparison{path, DeviceComparison::Outcome::Same, differences(a, b, shown)};
    if (!comparison.differences.empty())
        comparison.outcome = DeviceComparison::Outcome::Differ;
    return comparison;
}

const ConfigurationFile* foundIn(const Configurations& side, const QString& path) {
    for (const auto& [device, configuration] : side) {
        if (device == path)
            return &configuration;
    }
    return nullptr;
}

} // namespace

std::vector<DeviceComparison> compareDevices(const Configurations& a, const Configurations& b,
                                             bool byPath, ShownValues& shown) {
    std::vector<DeviceComparison> comparisons;
    if (!byPath) {
        const QString& aPath = a.front().first;
        const QString& bPath = b.front().first;
        comparisons.push_back(
            compared(aPath == bPath ? aPath : aPath + QStringLiteral(" | ") + bPath,
                     a.front().second, b.front().second, shown));
        return comparisons;
    }
    for (const auto& [path, configuration] : a) {
        if (const ConfigurationFile* other = foundIn(b, path))
            comparisons.push_back(compared(path, configuration, *other, shown));
        else
            comparisons.push_back({path, DeviceComparison::Outcome::OnlyInA, {}});
    }
    for (const auto& [path, configuration] : b) {
        if (!foundIn(a, path))
            comparisons.push_back({path, DeviceComparison::Outcome::OnlyInB, {}});
    }
    return comparisons;
}
