#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>
#include <stdexcept>

// A thermostat's configuration as saved in a file (JSON):
//   format        "rm42-config"
//   formatVersion 1
//   programId     the thermostats' program ID
//   source        { "network": ..., "device": "SUBSYSTEM/DEVICE" }
//   model, hvacType, saved (UTC, ISO 8601), units ("US" or "SI")
//   readOnly      identity values by field name: recorded, never written
//   fields        every configurable value by field name, as the device
//                 formats it in those units (a JSON number is read as its text)
struct ConfigurationFile {
    static constexpr int FormatVersion = 1;
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

// Reads and checks the form of a file: JSON, format, version, program ID
// (`programId`), units, and that every field name is one of `knownFields`.
// Throws FileProblem.
ConfigurationFile readConfigurationFile(const QString& path, const QString& programId,
                                        const QStringList& knownFields);

// Writes `text` to `path` in one step: a failure leaves an existing file as
// it was. Throws FileProblem.
void writeFileAtomically(const QString& path, const QByteArray& text);

// "US" for Imperial, "SI" for Metric; nothing for another text.
QString unitsName(qint16 unitSystem);
std::optional<qint16> unitSystemNamed(const QString& name);
