// SPDX-License-Identifier: Apache-2.0
#include "HeldValues.h"

#include "model/HeldText.h"
#include "platform/Error.h"
#include "platform/PrintableText.h"

#include <optional>

namespace {

std::optional<QByteArray> encoded(const PlacedField& placed, const QString& text) {
    try {
        return placed.field->NvCpTable->EncodedItem(placed.field->ItemArrayIndex, text);
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace

std::vector<ValueProblem> encodingProblems(const QMap<QString, QString>& values,
                                           const ConfigurationFields& fields) {
    std::vector<ValueProblem> problems;
    for (const PlacedField& placed : fields.placed()) {
        const auto value = values.constFind(placed.name());
        if (value == values.constEnd() || !placed.configurable())
            continue;
        if (const std::optional<QString> refusal = rules::heldTextRefusal(*placed.field, *value))
            problems.push_back(
                {{placed.name()},
                 QStringLiteral("the device cannot hold it as given: ") + printable(*refusal)});
    }
    return problems;
}

bool heldAlike(const PlacedField& placed, const QString& current, const QString& wanted) {
    return current == wanted || heldAlike(placed, current, placed, wanted);
}

bool heldAlike(const PlacedField& aField, const QString& a, const PlacedField& bField,
               const QString& b) {
    const std::optional<QByteArray> heldA = encoded(aField, a);
    const std::optional<QByteArray> heldB = encoded(bField, b);
    return heldA && heldB ? *heldA == *heldB : a == b;
}
