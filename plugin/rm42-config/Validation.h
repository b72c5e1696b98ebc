// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFields.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// One broken rule: the fields it concerns and what is wrong.
struct ValueProblem {
    QStringList fields;
    QString message;

    QString text() const {
        return fields.join(QStringLiteral(", ")) + QStringLiteral(": ") + message;
    }
};

// Checks each value against its field (number, limits, items, in the
// catalog's unit system), two names of one device item against each other,
// and the setpoint rules among the values given (a rule whose values are
// not all given is not checked). Values are never adjusted.
std::vector<ValueProblem> valueProblems(const QMap<QString, QString>& values,
                                        const ConfigurationFields& fields);

// The setpoint rules alone: heating and cooling a deadband apart, heating at
// most the maximum limit, cooling at least the minimum limit.
std::vector<ValueProblem> setpointProblems(const QMap<QString, QString>& values);

// The fields the setpoint rules read.
const QStringList& setpointFieldNames();
