// SPDX-License-Identifier: Apache-2.0
// Reading a configuration file: every problem is named with the file and,
// where there is one, the line and column or the field.
#include "ConfigurationFields.h"
#include "ConfigurationFile.h"
#include "EchoedText.h"
#include "FieldTexts.h"
#include "InputFile.h"
#include "NearestName.h"
#include "model/NumberText.h"
#include "platform/JsonReader.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString FormatName = QStringLiteral("rm42-config");
// Longer than any value a thermostat holds (the location takes 30
// characters): refused before any check quotes it.
constexpr qsizetype LongestValue = 64;

// The LonMark HVAC types (SNVT_hvac_type).
const QStringList& hvacTypes() {
    static const QStringList types = {"HVT_NUL",       "HVT_GENERIC",    "HVT_FAN_COIL",
                                      "HVT_VAV",       "HVT_HEAT_PUMP",  "HVT_ROOFTOP",
                                      "HVT_UNIT_VENT", "HVT_CHILL_CEIL", "HVT_RADIATOR",
                                      "HVT_AHU",       "HVT_SELF_CONT"};
    return types;
}

[[noreturn]] void refuse(const QString& path, const QString& what) {
    throw FileProblem(echoed(path) + QStringLiteral(": ") + what);
}

QJsonObject parsedObject(const QString& path, const QByteArray& contents) {
    QString problem;
    const std::optional<QJsonDocument> document = readJson(contents, problem);
    if (!document)
        refuse(path, problem);
    if (!document->isObject())
        refuse(path, QStringLiteral("not a configuration file: the document is not an object"));
    return document->object();
}

QString requiredText(const QString& path, const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (!value.isString())
        refuse(path, QStringLiteral("\"%1\" is missing or not a text").arg(key));
    return value.toString();
}

int formatVersion(const QString& path, const QJsonObject& root) {
    const QJsonValue version = root.value(QStringLiteral("formatVersion"));
    if (!version.isDouble())
        refuse(path, QStringLiteral("\"formatVersion\" is missing or not a number"));
    const double number = version.toDouble();
    if (number < ConfigurationFile::OldestFormatVersion ||
        number > ConfigurationFile::FormatVersion || number != static_cast<int>(number))
        refuse(path, QStringLiteral("format version %1 is not supported (this program reads "
                                    "versions %2 to %3)")
                         .arg(rules::numberText(number))
                         .arg(ConfigurationFile::OldestFormatVersion)
                         .arg(ConfigurationFile::FormatVersion));
    return static_cast<int>(number);
}

void checkHeader(const QString& path, const QJsonObject& root, const QString& programId) {
    if (root.value(QStringLiteral("format")).toString() != FormatName)
        refuse(
            path,
            QStringLiteral("not a configuration file (\"format\" is not \"%1\")").arg(FormatName));
    formatVersion(path, root);
    const QString fileProgramId = requiredText(path, root, QStringLiteral("programId"));
    if (fileProgramId != programId)
        refuse(path, QStringLiteral("program ID %1 is not the thermostats' program ID %2")
                         .arg(echoed(fileProgramId), programId));
}

void readSource(const QString& path, const QJsonObject& root, ConfigurationFile& file) {
    const QJsonValue source = root.value(QStringLiteral("source"));
    if (source.isUndefined())
        return;
    if (!source.isObject())
        refuse(path, QStringLiteral("\"source\" is not an object with \"network\" and \"device\""));
    for (const QString& key : {QStringLiteral("network"), QStringLiteral("device")}) {
        const QJsonValue value = source.toObject().value(key);
        if (!value.isUndefined() && !value.isString())
            refuse(path, QStringLiteral("\"source\": \"%1\" is not a text").arg(key));
    }
    file.network = source.toObject().value(QStringLiteral("network")).toString();
    file.device = source.toObject().value(QStringLiteral("device")).toString();
}

qint16 modelOf(const QString& path, const QJsonObject& root) {
    const QJsonValue model = root.value(QStringLiteral("model"));
    if (model.isUndefined())
        return 0;
    const double number = model.toDouble(-1);
    if (!model.isDouble() || number < 0 || number > 255 || number != static_cast<int>(number))
        refuse(path, QStringLiteral("\"model\" is not a model number"));
    return static_cast<qint16>(number);
}

QString hvacTypeOf(const QString& path, const QJsonObject& root) {
    const QString type = requiredText(path, root, QStringLiteral("hvacType"));
    if (!hvacTypes().contains(type))
        refuse(path, QStringLiteral("\"hvacType\" \"%1\" is not an HVAC type%2")
                         .arg(echoed(type), didYouMean(type, hvacTypes())));
    return type;
}

// A value may be written as a text or, for a number, as a JSON number.
QString valueText(const QString& path, const PlacedField& placed, const QJsonValue& value) {
    QString text;
    if (value.isString())
        text = value.toString();
    else if (value.isDouble())
        text = exactNumberText(value.toDouble()); // every digit written, checked as a text
    else
        refuse(path, QStringLiteral("field \"%1\": the value must be a text or a number")
                         .arg(placed.name()));
    if (text.size() > LongestValue)
        refuse(path, QStringLiteral("field \"%1\": the value is %2 characters long, longer than "
                                    "any field takes")
                         .arg(placed.name())
                         .arg(text.size()));
    return deviceText(placed, text);
}

class FieldReader {
public:
    FieldReader(const QString& path, const ConfigurationFields& catalog)
        : m_path(path), m_catalog(catalog) {
        for (const PlacedField& placed : catalog.placed()) {
            if (placed.configurable())
                m_known << placed.name();
        }
    }

    // The members of "fields": values, or the values of one tab.
    void read(const QJsonObject& members, QMap<QString, QString>& fields, bool inTab) const {
        for (auto it = members.begin(); it != members.end(); ++it) {
            if (it.value().isObject() && !inTab)
                read(tab(it.key(), it.value()), fields, true);
            else if (fields.contains(it.key()))
                refuse(m_path, QStringLiteral("field \"%1\" is given twice").arg(it.key()));
            else
                fields.insert(it.key(), valueText(m_path, field(it.key()), it.value()));
        }
    }

private:
    QJsonObject tab(const QString& caption, const QJsonValue& value) const {
        if (!tabCaptions().contains(caption))
            refuse(m_path, QStringLiteral("\"fields\": no tab \"%1\"%2")
                               .arg(echoed(caption), didYouMean(caption, tabCaptions())));
        return value.toObject();
    }

    const PlacedField& field(const QString& name) const {
        const PlacedField* placed = m_known.contains(name) ? m_catalog.find(name) : nullptr;
        if (!placed)
            refuse(m_path, QStringLiteral("unknown field \"%1\"%2")
                               .arg(echoed(name), didYouMean(name, m_known)));
        return *placed;
    }

    QString m_path;
    const ConfigurationFields& m_catalog;
    QStringList m_known;
};

} // namespace

ConfigurationFile readConfigurationFile(const QString& path, const QString& programId,
                                        const ConfigurationFields& catalog) {
    return parseConfigurationFile(path, readInputFile(path), programId, catalog);
}

ConfigurationFile parseConfigurationFile(const QString& path, const QByteArray& contents,
                                         const QString& programId,
                                         const ConfigurationFields& catalog) {
    const QJsonObject root = parsedObject(path, contents);
    checkHeader(path, root, programId);
    ConfigurationFile file;
    file.programId = programId;
    readSource(path, root, file);
    file.model = modelOf(path, root);
    file.hvacType = hvacTypeOf(path, root);
    file.saved = QDateTime::fromString(root.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    const QString units = requiredText(path, root, QStringLiteral("units"));
    const std::optional<qint16> unitSystem = unitSystemNamed(units);
    if (!unitSystem)
        refuse(path,
               QStringLiteral("units \"%1\" are neither \"US\" nor \"SI\"").arg(echoed(units)));
    file.unitSystem = *unitSystem;
    const QJsonObject readOnly = root.value(QStringLiteral("readOnly")).toObject();
    for (auto it = readOnly.begin(); it != readOnly.end(); ++it)
        file.readOnly.insert(it.key(), it.value().toVariant().toString());
    const QJsonValue fields = root.value(QStringLiteral("fields"));
    if (!fields.isObject())
        refuse(path, QStringLiteral("\"fields\" is missing or not an object"));
    FieldReader(path, catalog).read(fields.toObject(), file.fields, false);
    return file;
}
