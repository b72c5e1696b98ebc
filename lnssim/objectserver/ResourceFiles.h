// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QSet>
#include <QString>

// The resource files of the Types folder, as this system lays them out.
//
// A resource set is a folder holding "resources.json":
//   { "programIdScope": "8003DB5500000000",   16 hexadecimal digits
//     "scope": 4,                              0 to 6
//     "functionalProfileFile": "x.fpt.json",   a file beside it
//     "configPropertyTypes": [ { "typeIndex": 4, "name": "...",
//                                "formats": ["UCPTdaySched"] }, ... ] }
// A functional profile file lists the LonMark object types it describes:
//   { "functionalProfiles": [ { "typeIndex": 8500, "name": "..." }, ... ] }
//
// Readers throw Error (LNS code DatabaseInvalid) naming the file and the fault.
namespace lns::sim {

struct ResourceSet {
    QString programIdScope; // upper case
    int scope = 0;
    QString folder;                // native path
    QString functionalProfileFile; // native path
};

inline const QString ResourceSetFileName = QStringLiteral("resources.json");

// The resource set described in `folder`.
ResourceSet readResourceSet(const QString& folder);
// Every resource set in `folder` and its subfolders, in path order.
QList<ResourceSet> findResourceSets(const QString& folder);
// The LonMark object type indices that a functional profile file lists.
QSet<int> readFunctionalProfileTypes(const QString& file);

// Whether `programId` falls under the program-ID scope `programIdScope` at
// `scope`: both agree on the digits the scope selects (manufacturer for 3,
// plus device class for 4, plus subclass for 5, plus model for 6; scope 0
// matches every program ID). False for text that is not 16 hex digits.
bool programIdMatches(const QString& programIdScope, const QString& programId, int scope);
bool isProgramId(const QString& text);

} // namespace lns::sim
