// SPDX-License-Identifier: Apache-2.0
#include "objectserver/ResourceFiles.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"
#include "platform/JsonReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace lns::sim {

namespace {

constexpr int ProgramIdDigits = 16;
constexpr int HighestScope = 6;

[[noreturn]] void failFile(const QString& file, const QString& fault) {
    throw Error::lns(Code::DatabaseInvalid, QStringLiteral("ResourceCatalog"),
                     QStringLiteral("The resource file %1 cannot be used: %2").arg(file, fault));
}

QJsonObject readObject(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        failFile(file, input.errorString());
    QString problem;
    const std::optional<QJsonDocument> document = readJson(input.readAll(), problem);
    if (!document)
        failFile(file, problem);
    if (!document->isObject())
        failFile(file, QStringLiteral("it does not hold a JSON object."));
    return document->object();
}

int typeIndexOf(const QJsonValue& entry, const QString& file) {
    const QJsonValue index = entry.toObject().value(QLatin1String("typeIndex"));
    if (!index.isDouble() || index.toDouble() != static_cast<double>(index.toInt()) ||
        index.toInt() < 0)
        failFile(file, QStringLiteral("an entry has no whole, non-negative \"typeIndex\"."));
    return index.toInt();
}

// The half-open range of program-ID digits that a scope compares.
std::pair<int, int> scopeDigits(int scope) {
    static constexpr std::pair<int, int> digits[] = {{0, 0},  {6, 10}, {6, 14}, {0, 6},
                                                     {0, 10}, {0, 14}, {0, 16}};
    return digits[scope];
}

} // namespace

bool isProgramId(const QString& text) {
    return text.size() == ProgramIdDigits && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
               return c.isDigit() ||
                      (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
           });
}

bool programIdMatches(const QString& programIdScope, const QString& programId, int scope) {
    if (!isProgramId(programIdScope) || !isProgramId(programId) || scope < 0 ||
        scope > HighestScope)
        return false;
    const auto [first, end] = scopeDigits(scope);
    return programIdScope.mid(first, end - first)
               .compare(programId.mid(first, end - first), Qt::CaseInsensitive) == 0;
}

ResourceSet readResourceSet(const QString& folder) {
    const QString file = folder + QLatin1Char('/') + ResourceSetFileName;
    const QJsonObject object = readObject(file);
    const QString programIdScope = object.value(QLatin1String("programIdScope")).toString();
    if (!isProgramId(programIdScope))
        failFile(file, QStringLiteral("\"programIdScope\" must be 16 hexadecimal digits."));
    const QJsonValue scope = object.value(QLatin1String("scope"));
    if (!scope.isDouble() || scope.toInt(-1) < 0 || scope.toInt(-1) > HighestScope)
        failFile(file, QStringLiteral("\"scope\" must be a number from 0 to 6."));
    const QString profiles = object.value(QLatin1String("functionalProfileFile")).toString();
    if (profiles.isEmpty() || profiles.contains(QLatin1Char('/')) ||
        profiles.contains(QLatin1Char('\\')))
        failFile(file, QStringLiteral("\"functionalProfileFile\" must name a file beside it."));
    const QJsonValue types = object.value(QLatin1String("configPropertyTypes"));
    if (!types.isUndefined() && !types.isArray())
        failFile(file, QStringLiteral("\"configPropertyTypes\" must be a list."));
    for (const QJsonValue& type : types.toArray())
        typeIndexOf(type, file);
    return {programIdScope.toUpper(), scope.toInt(), folder, folder + QLatin1Char('/') + profiles};
}

QList<ResourceSet> findResourceSets(const QString& folder) {
    QStringList files;
    QDirIterator found(folder, {ResourceSetFileName}, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        files << found.next();
    files.sort();
    QList<ResourceSet> sets;
    for (const QString& file : files)
        sets << readResourceSet(QFileInfo(file).path());
    return sets;
}

QSet<int> readFunctionalProfileTypes(const QString& file) {
    const QJsonValue profiles = readObject(file).value(QLatin1String("functionalProfiles"));
    if (!profiles.isArray())
        failFile(file, QStringLiteral("\"functionalProfiles\" must be a list."));
    QSet<int> types;
    for (const QJsonValue& profile : profiles.toArray())
        types.insert(typeIndexOf(profile, file));
    return types;
}

} // namespace lns::sim
