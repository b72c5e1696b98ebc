// SPDX-License-Identifier: Apache-2.0
#include "Validation.h"

#include "model/EditingRules.h"

#include <QHash>
#include <QPair>

namespace {

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

bool allNumeric(const QStringList& items) {
    for (const QString& item : items) {
        if (!rules::isNumeric(item))
            return false;
    }
    return !items.isEmpty();
}

bool isWhole(double number) {
    return number == static_cast<double>(static_cast<long long>(number));
}

// Items that are numbers stand for a range: the deadband in the other unit
// system falls between them. Whole items ask for a whole number.
std::optional<QString> itemProblem(const QString& value, const QStringList& items) {
    if (!allNumeric(items)) {
        if (items.contains(value))
            return std::nullopt;
        return quoted(value) + QStringLiteral(" is not one of ") + items.join(QStringLiteral(", "));
    }
    if (!rules::isNumeric(value))
        return quoted(value) + QStringLiteral(" is not a number");
    const double number = rules::leadingNumber(value);
    const double first = rules::leadingNumber(items.first());
    const double last = rules::leadingNumber(items.last());
    bool wholeItems = true;
    for (const QString& item : items)
        wholeItems = wholeItems && isWhole(rules::leadingNumber(item));
    if (number < first || number > last || (wholeItems && !isWhole(number)))
        return quoted(value) + QStringLiteral(" is not one of ") + items.join(QStringLiteral(", "));
    return std::nullopt;
}

std::optional<QString> limitProblem(const QString& value, const PlacedField& placed,
                                    qint16 unitSystem) {
    if (!rules::isNumeric(value))
        return quoted(value) + QStringLiteral(" is not a number");
    const CNvCtrlTable& field = *placed.field;
    const QString unit = unitCaption(placed.placement.unit, unitSystem);
    const QString suffix = unit.isEmpty() ? QString() : u' ' + unit;
    const rules::RangeResult range =
        rules::checkRange(value, field.Description, field.MaxLimit(unitSystem),
                          field.MinLimit(unitSystem), false, unitSystem);
    if (!range.message)
        return std::nullopt;
    return QStringLiteral("%1 is outside %2 to %3%4")
        .arg(value, field.MinLimit(unitSystem), field.MaxLimit(unitSystem), suffix);
}

// The setpoint rules as the window runs them on leaving a box; each
// adjustment it would make is a broken rule here.
struct SetpointRule {
    int leftBox;
    QStringList fields; // the fields named for an adjustment of each target
    int target;
};

const std::vector<SetpointRule>& setpointRules() {
    static const std::vector<SetpointRule> list = {
        {0, {"occ_heat_setpts", "occ_cool_setpts", "dead_band"}, 2},
        {1, {"unocc_heat_setpts", "unocc_cool_setpts", "dead_band"}, 3},
        {4, {"occ_heat_setpts", "max_heat"}, 0},
        {4, {"unocc_heat_setpts", "max_heat"}, 1},
        {6, {"occ_cool_setpts", "min_cool_setpts"}, 2},
        {6, {"unocc_cool_setpts", "min_cool_setpts"}, 3},
    };
    return list;
}

// Two names of one device item (the fan settings appear on two tabs) must agree.
std::vector<ValueProblem> sharedItemProblems(const QMap<QString, QString>& values,
                                             const ConfigurationFields& fields) {
    std::vector<ValueProblem> problems;
    QHash<QPair<const CNvCpTable*, int>, QString> firstName;
    for (const PlacedField& placed : fields.placed()) {
        if (!values.contains(placed.name()))
            continue;
        const QPair<const CNvCpTable*, int> item{placed.field->NvCpTable.get(),
                                                 placed.field->ItemArrayIndex};
        const auto first = firstName.constFind(item);
        if (first == firstName.constEnd()) {
            firstName.insert(item, placed.name());
        } else if (values.value(*first) != values.value(placed.name())) {
            problems.push_back(
                {{*first, placed.name()},
                 QStringLiteral("one setting of the device given two values, %1 "
                                "and %2")
                     .arg(quoted(values.value(*first)), quoted(values.value(placed.name())))});
        }
    }
    return problems;
}

} // namespace

std::vector<ValueProblem> valueProblems(const QMap<QString, QString>& values,
                                        const ConfigurationFields& fields) {
    std::vector<ValueProblem> problems;
    for (const PlacedField& placed : fields.placed()) {
        if (!values.contains(placed.name()) || placed.placement.freeText ||
            placed.placement.identity)
            continue;
        const QString value = values.value(placed.name());
        const std::optional<QString> problem =
            placed.numeric() ? limitProblem(value, placed, fields.unitSystem())
                             : itemProblem(value, placed.placement.items);
        if (problem)
            problems.push_back({{placed.name()}, *problem});
    }
    for (ValueProblem& problem : sharedItemProblems(values, fields))
        problems.push_back(std::move(problem));
    for (ValueProblem& problem : setpointProblems(values))
        problems.push_back(std::move(problem));
    return problems;
}

std::vector<ValueProblem> setpointProblems(const QMap<QString, QString>& values) {
    for (const QString& name : setpointFieldNames()) {
        if (!values.contains(name) || !rules::isNumeric(values.value(name)))
            return {};
    }
    const rules::SetpointTexts texts{
        values.value("occ_heat_setpts"), values.value("unocc_heat_setpts"),
        values.value("occ_cool_setpts"), values.value("unocc_cool_setpts"),
        values.value("max_heat"),        values.value("min_cool_setpts"),
        values.value("dead_band")};
    std::vector<ValueProblem> problems;
    for (const int box : {0, 1, 4, 6}) {
        std::vector<rules::Adjustment> adjustments;
        try {
            adjustments = rules::adjustmentsLeavingTextBox(box, texts);
        } catch (const Error& error) {
            problems.push_back({setpointFieldNames(), error.description()});
            continue;
        }
        for (const rules::Adjustment& adjustment : adjustments) {
            for (const SetpointRule& rule : setpointRules()) {
                if (rule.leftBox == box && rule.target == adjustment.target) {
                    QStringList shown;
                    for (const QString& name : rule.fields)
                        shown << name + u' ' + values.value(name);
                    problems.push_back({rule.fields, adjustment.reason + QStringLiteral(" (") +
                                                         shown.join(QStringLiteral(", ")) + u')'});
                }
            }
        }
    }
    return problems;
}

const QStringList& setpointFieldNames() {
    static const QStringList names = {"occ_heat_setpts",   "unocc_heat_setpts", "occ_cool_setpts",
                                      "unocc_cool_setpts", "max_heat",          "min_cool_setpts",
                                      "dead_band"};
    return names;
}
