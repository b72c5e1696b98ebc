// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace lns {

// The LonMark resource catalog over the Types folder of the LonWorks folder.
// Operations answer with return codes: 0 success, 4 not in the catalog, any
// other value a failure.
class ResourceCatalog {
public:
    static constexpr int Success = 0;
    static constexpr int NotInCatalog = 4;
    static constexpr int ModeUpdate = 0;
    static constexpr int ModeReadOnly = 1;
    static constexpr int FunctionalProfileFile = 4;

    virtual ~ResourceCatalog() = default;
    // `typesFolder` in the system's form (for example the LonWorks folder + "\Types").
    virtual int Open(const QString& typesFolder, int mode) = 0;
    virtual int Close() = 0;
    // Looks up the resource set of a program-ID scope and scope number; the
    // two further arguments are the platform's (3 and 0 from every caller).
    virtual int FindResourceSet(const QString& programIdScope, int scope, int selector, int options) = 0;
    virtual int AddFolder(const QString& folder) = 0;
    virtual int Update() = 0;
    // Opens a file of the resource set that the program ID has at `scope`.
    virtual int OpenFile(const QString& programId, int scope, int fileKind) = 0;
    // Whether the open functional-profile file lists the type index.
    virtual bool HasTypeIndex(int typeIndex) = 0;
    virtual int CloseFile() = 0;
};

using ResourceCatalogFactory = std::function<std::unique_ptr<ResourceCatalog>()>;

} // namespace lns
