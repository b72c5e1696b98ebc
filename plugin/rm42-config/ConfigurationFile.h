// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>
#include <stdexcept>

class ConfigurationFields;

// A thermostat's configuration as saved in a file (JSON), in this order:
//   format        "rm42-config"
//   formatVersion 2 (files of version 1 are still read)
//   programId     the thermostats' program ID
//   source        { "network": ..., "device": "SUBSYSTEM/DEVICE" }
//   model, hvacType, units ("US" or "SI"), saved (UTC, ISO 8601)
//   fields        the configurable values by the window's tab captions, in
//                 the window's order, each by field name as the device
//                 formats it in those units, the scheduler's times as "HH:MM"
//                 (a JSON number is read as its text; version 1 lists the
//                 fields without tabs, and either form is read)
//   readOnly      identity values by field name: recorded, never written
// The fields here are always as the device takes them (times in minutes).
struct ConfigurationFile {
    static constexpr int FormatVersion = 2;
    static constexpr int OldestFormatVersion = 1;
    // Saved values are Imperial (US) whatever the display units: the device
    // holds its option temperatures in tenths of a degree Fahrenheit and the
    // Metric limits are rounded, so only these texts read back, check and
    // write back unchanged on every thermostat.
    static constexpr qint16 SavedUnitSystem = 1;

    QString programId;
    QString network;
    QString device;
    qint16 model = 0;
    QString hvacType;
    QDateTime saved;
    qint16 unitSystem = 1;
    QMap<QString, QString> readOnly;
    QMap<QString, QString> fields;
};

// A file that cannot be used; the message names the file and, where there
// is one, the field.
class FileProblem : public std::runtime_error {
public:
    explicit FileProblem(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

QByteArray configurationJson(const ConfigurationFile& file);

// Reads and checks the form of a file: JSON (a syntax error by line and
// column), format, version, program ID (`programId`), the type of every
// header value, units, and that every field name is a configurable field of
// `catalog` (an unknown one named with the nearest known). Throws FileProblem.
ConfigurationFile readConfigurationFile(const QString& path, const QString& programId,
                                        const ConfigurationFields& catalog);
// The same for contents already read from `path`.
ConfigurationFile parseConfigurationFile(const QString& path, const QByteArray& contents,
                                         const QString& programId,
                                         const ConfigurationFields& catalog);

// "US" for Imperial, "SI" for Metric; nothing for another text.
QString unitsName(qint16 unitSystem);
std::optional<qint16> unitSystemNamed(const QString& name);
