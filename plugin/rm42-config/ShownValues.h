// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ConfigurationFields.h"
#include "ConfigurationFile.h"

#include <QString>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// One value of a configuration as a report or a comparison shows it.
struct ShownField {
    QString name;
    QString description;
    // The window's tab; -1 for a value the window does not place.
    int tab = -1;
    // The caption of its unit and its text, in the shown unit system (or in
    // the file's own when the device could not hold the text); times "HH:MM".
    QString unit;
    QString text;
};

// The values of configurations shown in one unit system, whatever system
// each file was saved in: a text is turned into what the device holds for
// it and formatted as a device read in the shown units would give it.
class ShownValues {
public:
    explicit ShownValues(qint16 units);

    qint16 units() const { return m_units; }

    // Every value of the configuration: the placed fields in the window's
    // catalog order, then the read-only values the window does not place.
    std::vector<ShownField> fieldsOf(const ConfigurationFile& file);
    // One value, its text in the file's units; an unplaced name keeps its text.
    ShownField field(const ConfigurationFile& file, const QString& name, const QString& text);

    // The catalog of a unit system with the general options in the form of
    // the HVAC type, as the file's values are encoded; kept for the next.
    const ConfigurationFields& catalog(qint16 units, const QString& hvacType);

private:
    qint16 m_units;
    std::map<std::pair<qint16, bool>, std::unique_ptr<ConfigurationFields>> m_catalogs;
};

// Every value of a file by name: its fields and its read-only values.
QMap<QString, QString> allValues(const ConfigurationFile& file);
