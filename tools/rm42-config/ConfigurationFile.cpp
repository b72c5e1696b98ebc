#include "ConfigurationFile.h"

#include "model/NumberText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QString FormatName = QStringLiteral("rm42-config");

QJsonObject textsObject(const QMap<QString, QString>& texts) {
    QJsonObject object;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

[[noreturn]] void refuse(const QString& path, const QString& what) {
    throw FileProblem(path + QStringLiteral(": ") + what);
}

QString requiredText(const QString& path, const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (!value.isString())
        refuse(path, QStringLiteral("\"%1\" is missing or not a text").arg(key));
    return value.toString();
}

// A value may be written as a text or, for a number, as a JSON number.
QString valueText(const QString& path, const QString& name, const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return rules::numberText(value.toDouble());
    refuse(path, QStringLiteral("field \"%1\": the value must be a text or a number").arg(name));
}

QJsonObject parsedObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("cannot be read: ") + file.errorString());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        refuse(path, QStringLiteral("not a JSON document: %1 at offset %2")
                         .arg(error.errorString())
                         .arg(error.offset));
    if (!document.isObject())
        refuse(path, QStringLiteral("not a configuration file: the document is not an object"));
    return document.object();
}

void checkHeader(const QString& path, const QJsonObject& root, const QString& programId) {
    if (root.value(QStringLiteral("format")).toString() != FormatName)
        refuse(
            path,
            QStringLiteral("not a configuration file (\"format\" is not \"%1\")").arg(FormatName));
    const QJsonValue version = root.value(QStringLiteral("formatVersion"));
    if (!version.isDouble() || version.toDouble() != ConfigurationFile::FormatVersion)
        refuse(path, QStringLiteral("format version %1 is not supported (this program reads "
                                    "version %2)")
                         .arg(version.isDouble() ? rules::numberText(version.toDouble())
                                                 : QStringLiteral("(none)"))
                         .arg(ConfigurationFile::FormatVersion));
    const QString fileProgramId = requiredText(path, root, QStringLiteral("programId"));
    if (fileProgramId != programId)
        refuse(path, QStringLiteral("program ID %1 is not the thermostats' program ID %2")
                         .arg(fileProgramId, programId));
}

} // namespace

QString unitsName(qint16 unitSystem) {
    return unitSystem == 0 ? QStringLiteral("SI") : QStringLiteral("US");
}

std::optional<qint16> unitSystemNamed(const QString& name) {
    if (name == u"US")
        return qint16(1);
    if (name == u"SI")
        return qint16(0);
    return std::nullopt;
}

QByteArray configurationJson(const ConfigurationFile& file) {
    QJsonObject root;
    root.insert(QStringLiteral("format"), FormatName);
    root.insert(QStringLiteral("formatVersion"), ConfigurationFile::FormatVersion);
    root.insert(QStringLiteral("programId"), file.programId);
    root.insert(QStringLiteral("source"), QJsonObject{{QStringLiteral("network"), file.network},
                                                      {QStringLiteral("device"), file.device}});
    root.insert(QStringLiteral("model"), file.model);
    root.insert(QStringLiteral("hvacType"), file.hvacType);
    root.insert(QStringLiteral("saved"), file.saved.toUTC().toString(Qt::ISODate));
    root.insert(QStringLiteral("units"), unitsName(file.unitSystem));
    root.insert(QStringLiteral("readOnly"), textsObject(file.readOnly));
    root.insert(QStringLiteral("fields"), textsObject(file.fields));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ConfigurationFile readConfigurationFile(const QString& path, const QString& programId,
                                        const QStringList& knownFields) {
    const QJsonObject root = parsedObject(path);
    checkHeader(path, root, programId);
    ConfigurationFile file;
    file.programId = programId;
    const QJsonObject source = root.value(QStringLiteral("source")).toObject();
    file.network = source.value(QStringLiteral("network")).toString();
    file.device = source.value(QStringLiteral("device")).toString();
    file.model = static_cast<qint16>(root.value(QStringLiteral("model")).toInt());
    file.hvacType = requiredText(path, root, QStringLiteral("hvacType"));
    if (file.hvacType.isEmpty())
        refuse(path, QStringLiteral("\"hvacType\" is empty"));
    file.saved = QDateTime::fromString(root.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    const QString units = requiredText(path, root, QStringLiteral("units"));
    const std::optional<qint16> unitSystem = unitSystemNamed(units);
    if (!unitSystem)
        refuse(path, QStringLiteral("units \"%1\" are neither \"US\" nor \"SI\"").arg(units));
    file.unitSystem = *unitSystem;
    const QJsonObject readOnly = root.value(QStringLiteral("readOnly")).toObject();
    for (auto it = readOnly.begin(); it != readOnly.end(); ++it)
        file.readOnly.insert(it.key(), it.value().toVariant().toString());
    const QJsonValue fields = root.value(QStringLiteral("fields"));
    if (!fields.isObject())
        refuse(path, QStringLiteral("\"fields\" is missing or not an object"));
    const QJsonObject fieldObject = fields.toObject();
    for (auto it = fieldObject.begin(); it != fieldObject.end(); ++it) {
        if (!knownFields.contains(it.key()))
            refuse(path, QStringLiteral("unknown field \"%1\"").arg(it.key()));
        file.fields.insert(it.key(), valueText(path, it.key(), it.value()));
    }
    return file;
}

void writeFileAtomically(const QString& path, const QByteArray& text) {
    QSaveFile file(path);
    // The flush reports a disk that is full; the commit alone would rename a
    // truncated file over the old one.
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() ||
        !file.commit())
        refuse(path, QStringLiteral("cannot be written: ") + file.errorString());
}
