// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ResourceCatalog.h"
#include "objectserver/ResourceFiles.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace lns::sim {

// The resource catalog over a Types folder. Its state lives in the folder's
// "catalog.json", so every catalog object, in any process, sees the same
// registrations once it opens:
//   { "folders": [ "User", "/elsewhere/Types" ],   registered with AddFolder
//     "resourceSets": [ "User/Zentaro" ] }         found by the last Update
// Paths inside the Types folder are kept relative to it.
class SimResourceCatalog : public ResourceCatalog {
public:
    // Failure codes beside Success and NotInCatalog.
    static constexpr int FolderMissing = 2;
    static constexpr int NotOpen = 3;
    static constexpr int ReadOnlyCatalog = 5;
    static constexpr int BadCatalogFile = 6;
    static constexpr int SaveFailed = 7;
    static constexpr int BadArgument = 8;
    static constexpr int AlreadyOpen = 9;

    static inline const QString StateFileName = QStringLiteral("catalog.json");

    int Open(const QString& typesFolder, int mode) override;
    int Close() override;
    int FindResourceSet(const QString& programIdScope, int scope, int selector,
                        int options) override;
    int AddFolder(const QString& folder) override;
    int Update() override;
    int OpenFile(const QString& programId, int scope, int fileKind) override;
    bool HasTypeIndex(int typeIndex) override;
    int CloseFile() override;

private:
    // Reports why (as a warning for whoever reads the program's log) and returns code.
    static int fail(int code, const QString& why);
    int requireUpdatable();
    int readState();
    int save();
    std::optional<ResourceSet> findSet(const QString& programId, int scope) const;
    QString stored(const QString& nativePath) const;
    QString resolved(const QString& storedPath) const;

    QString m_typesFolder; // native; empty while closed
    bool m_readOnly = false;
    QStringList m_folders; // as stored
    QList<ResourceSet> m_sets;
    std::optional<QSet<int>> m_openFileTypes;
};

// Creates SimResourceCatalog objects, for the callers that take a factory.
ResourceCatalogFactory simResourceCatalogFactory();

} // namespace lns::sim
