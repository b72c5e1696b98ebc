// SPDX-License-Identifier: Apache-2.0
#include "SiteManifest.h"

#include "ConfigurationFile.h"
#include "EchoedText.h"
#include "InputFile.h"
#include "SiteFile.h"
#include "platform/JsonReader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString FormatName = QStringLiteral("rm42-config-site");

[[noreturn]] void refuse(const QString& path, const QString& why) {
    throw FileProblem(echoed(path) + QStringLiteral(": ") + why);
}

QString entryText(const QString& path, const QJsonObject& entry, const QString& key, int index) {
    const QJsonValue value = entry.value(key);
    if (!value.isString() || value.toString().isEmpty())
        refuse(
            path,
            QStringLiteral("device %1: \"%2\" is missing or not a text").arg(index + 1).arg(key));
    return value.toString();
}

ManifestEntry entryOf(const QString& path, const QJsonValue& value, int index) {
    if (!value.isObject())
        refuse(path, QStringLiteral("device %1 is not an object").arg(index + 1));
    const QJsonObject entry = value.toObject();
    ManifestEntry read;
    read.device = entryText(path, entry, QStringLiteral("device"), index);
    read.hvacType = entryText(path, entry, QStringLiteral("hvacType"), index);
    read.file = entryText(path, entry, QStringLiteral("file"), index);
    read.sha256 = entryText(path, entry, QStringLiteral("sha256"), index);
    read.model = static_cast<qint16>(entry.value(QStringLiteral("model")).toInt());
    // The file must lie in the folder itself.
    if (read.file.contains(u'/') || read.file == u"." || read.file == u"..")
        refuse(path, QStringLiteral("device %1: the file \"%2\" is not a name in the folder")
                         .arg(index + 1)
                         .arg(echoed(read.file)));
    return read;
}

QJsonObject entryObject(const ManifestEntry& entry) {
    return {{QStringLiteral("device"), entry.device},
            {QStringLiteral("model"), entry.model},
            {QStringLiteral("hvacType"), entry.hvacType},
            {QStringLiteral("file"), entry.file},
            {QStringLiteral("sha256"), entry.sha256}};
}

QJsonObject headObject(const SiteManifest& manifest) {
    return {{QStringLiteral("format"), FormatName},
            {QStringLiteral("formatVersion"), SiteManifest::FormatVersion},
            {QStringLiteral("network"), manifest.network},
            {QStringLiteral("saved"), manifest.saved.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("toolVersion"), manifest.toolVersion}};
}

QJsonObject objectOf(const QString& path, const QByteArray& text) {
    QString problem;
    const std::optional<QJsonDocument> document = readJson(text, problem);
    if (!document)
        refuse(path, QStringLiteral("not a manifest: ") + problem);
    if (!document->isObject())
        refuse(path, QStringLiteral("not a manifest: not a JSON object"));
    return document->object();
}

SiteManifest headOf(const QString& path, const QJsonObject& root) {
    if (root.value(QStringLiteral("format")).toString() != FormatName)
        refuse(path, QStringLiteral("not a manifest (\"format\" is not \"%1\")").arg(FormatName));
    if (root.value(QStringLiteral("formatVersion")).toInt() != SiteManifest::FormatVersion)
        refuse(path, QStringLiteral("manifest version %1 is not supported")
                         .arg(root.value(QStringLiteral("formatVersion")).toInt()));
    SiteManifest manifest;
    manifest.network = root.value(QStringLiteral("network")).toString();
    manifest.saved =
        QDateTime::fromString(root.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    manifest.toolVersion = root.value(QStringLiteral("toolVersion")).toString();
    return manifest;
}

SiteManifest readJournal(const QString& path) {
    QList<QByteArray> lines = readInputFile(path).split('\n');
    lines.removeLast(); // after the last newline: empty, or a line cut short
    if (lines.isEmpty())
        refuse(path, QStringLiteral("not a manifest: empty"));
    SiteManifest manifest = headOf(path, objectOf(path, lines.first()));
    for (qsizetype i = 1; i < lines.size(); ++i)
        manifest.devices.push_back(
            entryOf(path, objectOf(path, lines[i]), static_cast<int>(i - 1)));
    return manifest;
}

} // namespace

QByteArray manifestJson(const SiteManifest& manifest) {
    QJsonArray devices;
    for (const ManifestEntry& entry : manifest.devices)
        devices.append(entryObject(entry));
    QJsonObject root = headObject(manifest);
    root.insert(QStringLiteral("devices"), devices);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray journalHeadLine(const SiteManifest& manifest) {
    return QJsonDocument(headObject(manifest)).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray journalEntryLine(const ManifestEntry& entry) {
    return QJsonDocument(entryObject(entry)).toJson(QJsonDocument::Compact) + '\n';
}

SiteManifest readManifest(const QString& folder) {
    const QString path = siteFilePath(folder, ManifestFileName);
    const QString journal = QDir(folder).filePath(JournalFileName);
    if (!QFileInfo::exists(path) && QFileInfo::exists(journal))
        return readJournal(siteFilePath(folder, JournalFileName));
    const QJsonObject root = objectOf(path, readInputFile(path));
    SiteManifest manifest = headOf(path, root);
    const QJsonValue devices = root.value(QStringLiteral("devices"));
    if (!devices.isArray())
        refuse(path, QStringLiteral("\"devices\" is missing or not a list"));
    const QJsonArray list = devices.toArray();
    for (int i = 0; i < list.size(); ++i)
        manifest.devices.push_back(entryOf(path, list[i], i));
    return manifest;
}

QString sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
