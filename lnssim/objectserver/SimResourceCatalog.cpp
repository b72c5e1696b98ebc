// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimResourceCatalog.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/JsonReader.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace lns::sim {

namespace {

const QLatin1String FoldersKey("folders");
const QLatin1String ResourceSetsKey("resourceSets");

std::optional<QStringList> stringList(const QJsonValue& value) {
    if (value.isUndefined())
        return QStringList{};
    if (!value.isArray())
        return std::nullopt;
    QStringList strings;
    for (const QJsonValue& entry : value.toArray()) {
        if (!entry.isString() || entry.toString().isEmpty())
            return std::nullopt;
        strings << entry.toString();
    }
    return strings;
}

} // namespace

int SimResourceCatalog::fail(int code, const QString& why) {
    qWarning("Resource catalog: %s", qUtf8Printable(why));
    return code;
}

int SimResourceCatalog::Open(const QString& typesFolder, int mode) {
    if (!m_typesFolder.isEmpty())
        return fail(AlreadyOpen, QStringLiteral("the catalog is open already."));
    if (mode != ModeUpdate && mode != ModeReadOnly)
        return fail(BadArgument, QStringLiteral("unknown open mode %1.").arg(mode));
    const QString folder =
        QDir::cleanPath(QFileInfo(Paths::toNative(typesFolder)).absoluteFilePath());
    if (!QFileInfo(folder).isDir())
        return fail(FolderMissing, QStringLiteral("the folder %1 does not exist.").arg(folder));
    m_typesFolder = folder;
    m_readOnly = mode == ModeReadOnly;
    const int result = readState();
    if (result != Success)
        Close();
    return result;
}

int SimResourceCatalog::Close() {
    if (m_typesFolder.isEmpty())
        return fail(NotOpen, QStringLiteral("the catalog is not open."));
    m_typesFolder.clear();
    m_folders.clear();
    m_sets.clear();
    m_openFileTypes.reset();
    return Success;
}

int SimResourceCatalog::FindResourceSet(const QString& programIdScope, int scope, int, int) {
    if (m_typesFolder.isEmpty())
        return fail(NotOpen, QStringLiteral("the catalog is not open."));
    if (!isProgramId(programIdScope))
        return fail(BadArgument, QStringLiteral("\"%1\" is not a program ID.").arg(programIdScope));
    return findSet(programIdScope, scope) ? Success : NotInCatalog;
}

int SimResourceCatalog::AddFolder(const QString& folder) {
    if (const int result = requireUpdatable(); result != Success)
        return result;
    const QString native = QDir::cleanPath(QFileInfo(Paths::toNative(folder)).absoluteFilePath());
    if (!QFileInfo(native).isDir())
        return fail(FolderMissing, QStringLiteral("the folder %1 does not exist.").arg(native));
    const QString entry = stored(native);
    if (m_folders.contains(entry))
        return Success;
    m_folders << entry;
    const int result = save();
    if (result != Success)
        m_folders.removeLast();
    return result;
}

int SimResourceCatalog::Update() {
    if (const int result = requireUpdatable(); result != Success)
        return result;
    QMap<QString, ResourceSet> found; // by folder, so nested registrations count once
    try {
        for (const QString& folder : m_folders) {
            const QString path = resolved(folder);
            if (!QFileInfo(path).isDir())
                continue; // a folder removed since its registration adds nothing
            for (const ResourceSet& set : findResourceSets(path))
                found.insert(set.folder, set);
        }
    } catch (const Error& error) {
        return fail(BadCatalogFile, error.description());
    }
    const QList<ResourceSet> previous = m_sets;
    m_sets = found.values();
    const int result = save();
    if (result != Success)
        m_sets = previous;
    return result;
}

int SimResourceCatalog::OpenFile(const QString& programId, int scope, int fileKind) {
    if (m_typesFolder.isEmpty())
        return fail(NotOpen, QStringLiteral("the catalog is not open."));
    if (fileKind != FunctionalProfileFile)
        return fail(BadArgument, QStringLiteral("unknown resource file kind %1.").arg(fileKind));
    if (!isProgramId(programId))
        return fail(BadArgument, QStringLiteral("\"%1\" is not a program ID.").arg(programId));
    const std::optional<ResourceSet> set = findSet(programId, scope);
    if (!set)
        return NotInCatalog;
    try {
        m_openFileTypes = readFunctionalProfileTypes(set->functionalProfileFile);
    } catch (const Error& error) {
        return fail(BadCatalogFile, error.description());
    }
    return Success;
}

bool SimResourceCatalog::HasTypeIndex(int typeIndex) {
    return m_openFileTypes && m_openFileTypes->contains(typeIndex);
}

int SimResourceCatalog::CloseFile() {
    if (!m_openFileTypes)
        return fail(NotOpen, QStringLiteral("no resource file is open."));
    m_openFileTypes.reset();
    return Success;
}

int SimResourceCatalog::requireUpdatable() {
    if (m_typesFolder.isEmpty())
        return fail(NotOpen, QStringLiteral("the catalog is not open."));
    if (m_readOnly)
        return fail(ReadOnlyCatalog, QStringLiteral("the catalog is open read-only."));
    return Success;
}

int SimResourceCatalog::readState() {
    const QString file = m_typesFolder + QLatin1Char('/') + StateFileName;
    QFile input(file);
    if (!input.exists())
        return Success; // a catalog nothing was registered in yet
    if (!input.open(QIODevice::ReadOnly))
        return fail(BadCatalogFile, QStringLiteral("%1: %2").arg(file, input.errorString()));
    QString problem;
    const std::optional<QJsonDocument> document = readJson(input.readAll(), problem);
    if (!document)
        return fail(BadCatalogFile, QStringLiteral("%1: %2").arg(file, problem));
    if (!document->isObject())
        return fail(BadCatalogFile, QStringLiteral("%1 is not a JSON object.").arg(file));
    const auto folders = stringList(document->object().value(FoldersKey));
    const auto sets = stringList(document->object().value(ResourceSetsKey));
    if (!folders || !sets)
        return fail(BadCatalogFile,
                    QStringLiteral("%1: \"folders\" and \"resourceSets\" must be lists of paths.")
                        .arg(file));
    try {
        for (const QString& set : *sets)
            m_sets << readResourceSet(resolved(set));
    } catch (const Error& failure) {
        return fail(BadCatalogFile, failure.description());
    }
    m_folders = *folders;
    return Success;
}

int SimResourceCatalog::save() {
    QJsonArray sets;
    for (const ResourceSet& set : std::as_const(m_sets))
        sets.append(stored(set.folder));
    const QJsonObject state{{FoldersKey, QJsonArray::fromStringList(m_folders)},
                            {ResourceSetsKey, sets}};
    const QString file = m_typesFolder + QLatin1Char('/') + StateFileName;
    try {
        AtomicFile::write(file, QJsonDocument(state).toJson());
    } catch (const Error& failure) {
        return fail(SaveFailed, failure.description());
    }
    return Success;
}

std::optional<ResourceSet> SimResourceCatalog::findSet(const QString& programId, int scope) const {
    for (const ResourceSet& set : m_sets) {
        if (set.scope == scope && programIdMatches(set.programIdScope, programId, scope))
            return set;
    }
    return std::nullopt;
}

QString SimResourceCatalog::stored(const QString& nativePath) const {
    if (nativePath == m_typesFolder)
        return QStringLiteral(".");
    if (nativePath.startsWith(m_typesFolder + QLatin1Char('/')))
        return QDir(m_typesFolder).relativeFilePath(nativePath);
    return nativePath;
}

QString SimResourceCatalog::resolved(const QString& storedPath) const {
    if (QDir::isAbsolutePath(storedPath))
        return storedPath;
    return QDir::cleanPath(m_typesFolder + QLatin1Char('/') + storedPath);
}

ResourceCatalogFactory simResourceCatalogFactory() {
    return [] { return std::make_unique<SimResourceCatalog>(); };
}

} // namespace lns::sim
