// SPDX-License-Identifier: Apache-2.0
// rm42-config show NETWORK DEVICE: the device's state, model and HVAC type,
// then every field by the window's tabs with its value, unit and limits.
#include "CommandLine.h"
#include "DeviceConfiguration.h"
#include "Subcommands.h"
#include "Thermostat.h"
#include "platform/PrintableText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct Shown {
    QString network;
    QString state;
    const Thermostat& thermostat;
};

// "54 to 100" for a number, the items for a choice, nothing for free text.
QString allowedText(const PlacedField& placed, qint16 units) {
    if (placed.numeric())
        return placed.field->MinLimit(units) + QStringLiteral(" to ") +
               placed.field->MaxLimit(units);
    return placed.placement.items.join(QStringLiteral(", "));
}

QJsonObject fieldJson(const PlacedField& placed, qint16 units, bool available) {
    QJsonObject field{{QStringLiteral("name"), placed.name()},
                      {QStringLiteral("label"), placed.field->Description},
                      {QStringLiteral("value"), placed.item()},
                      {QStringLiteral("unit"), unitCaption(placed.placement.unit, units)},
                      {QStringLiteral("available"), available},
                      {QStringLiteral("readOnly"), !placed.configurable()}};
    if (placed.numeric()) {
        field.insert(QStringLiteral("min"), placed.field->MinLimit(units));
        field.insert(QStringLiteral("max"), placed.field->MaxLimit(units));
    } else if (!placed.placement.items.isEmpty()) {
        field.insert(QStringLiteral("items"), QJsonArray::fromStringList(placed.placement.items));
    }
    return field;
}

void printJson(QTextStream& out, const Shown& shown) {
    const Thermostat& thermostat = shown.thermostat;
    const qint16 units = thermostat.fields().unitSystem();
    const ModelLayout layout = thermostat.layout();
    QJsonArray tabs;
    for (int tab = 0; tab < tabCaptions().size(); ++tab) {
        QJsonArray fields;
        for (const PlacedField& placed : thermostat.fields().placed()) {
            if (placed.placement.tab == tab)
                fields.append(fieldJson(placed, units, isAvailable(placed.placement, layout)));
        }
        if (!fields.isEmpty())
            tabs.append(QJsonObject{{QStringLiteral("tab"), tabCaptions()[tab]},
                                    {QStringLiteral("fields"), fields}});
    }
    const QJsonObject root{{QStringLiteral("network"), shown.network},
                           {QStringLiteral("device"), thermostat.path()},
                           {QStringLiteral("state"), shown.state},
                           {QStringLiteral("model"), thermostat.model()},
                           {QStringLiteral("hvacType"), thermostat.hvacType()},
                           {QStringLiteral("units"), unitsName(units)},
                           {QStringLiteral("tabs"), tabs}};
    out << QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void printText(QTextStream& out, const Shown& shown) {
    const Thermostat& thermostat = shown.thermostat;
    const qint16 units = thermostat.fields().unitSystem();
    const ModelLayout layout = thermostat.layout();
    out << thermostat.path() << "  state " << shown.state << "  model " << thermostat.model()
        << "  HVAC type " << thermostat.hvacType() << "  units " << unitsName(units) << '\n';
    for (int tab = 0; tab < tabCaptions().size(); ++tab) {
        bool headed = false;
        for (const PlacedField& placed : thermostat.fields().placed()) {
            if (placed.placement.tab != tab)
                continue;
            if (!headed)
                out << tabCaptions()[tab] << '\n';
            headed = true;
            const QString unit = unitCaption(placed.placement.unit, units);
            const QString value = placed.item() + (unit.isEmpty() ? QString() : u' ' + unit);
            const QString allowed = allowedText(placed, units);
            out << "  " << placed.name().leftJustified(26) << ' '
                << placed.field->Description.leftJustified(46) << ' ' << value.leftJustified(12)
                << (allowed.isEmpty() ? QString() : QStringLiteral("  (") + allowed + u')')
                << (placed.configurable() ? "" : "  [read-only]")
                << (isAvailable(placed.placement, layout) ? ""
                                                          : "  [hidden or disabled on this model]")
                << '\n';
        }
    }
}

} // namespace

int runShow(const QStringList& words, QTextStream& out, QTextStream& err) {
    const std::optional<CommandLine> line =
        parseCommandLine(words, {QStringLiteral("--units"), QStringLiteral("--interface")},
                         {QStringLiteral("--json")}, err);
    if (!line || line->positional.size() != 2)
        return usageOf("show", err);
    const std::optional<qint16> units = unitsOption(*line, storedDisplayUnits(), err);
    if (!units)
        return usageOf("show", err);
    try {
        const ThermostatNetwork network(line->positional[0],
                                        line->value(QStringLiteral("--interface")));
        const DeviceTarget target = network.device(line->positional[1]);
        if (!target.device) {
            err << "rm42-config: " << printable(target.path) << ": " << target.failure << '\n';
            return ExitStatus::SomeDeviceFailed;
        }
        Thermostat thermostat(network.system(), target.device, target.path, *units);
        QString state;
        try {
            state = deviceStateWord(*target.device);
            thermostat.read();
        } catch (const Error& error) {
            err << "rm42-config: " << target.path << ": " << oneLine(error.description()) << '\n';
            return ExitStatus::SomeDeviceFailed;
        }
        const Shown shown{network.name(), state, thermostat};
        if (line->has(QStringLiteral("--json")))
            printJson(out, shown);
        else
            printText(out, shown);
    } catch (const InputProblem& problem) {
        err << "rm42-config: " << problem.message() << '\n';
        return ExitStatus::Refused;
    }
    return ExitStatus::Done;
}
