// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

// The table of contents of a folder of saved configurations (a site
// backup), as JSON in the folder's "manifest.json":
//   format "rm42-config-site", formatVersion 1, network, saved (UTC, ISO
//   8601), toolVersion, and devices: for each, its path "SUBSYSTEM/DEVICE",
//   model, hvacType, the file name in the folder and the SHA-256 of the file.
struct ManifestEntry {
    QString device;
    qint16 model = 0;
    QString hvacType;
    QString file;
    QString sha256;
};

struct SiteManifest {
    static constexpr int FormatVersion = 1;

    QString network;
    QDateTime saved;
    QString toolVersion;
    std::vector<ManifestEntry> devices;
};

inline const QString ManifestFileName = QStringLiteral("manifest.json");
// While a folder is saved, its manifest grows as a journal, one line of JSON
// each: the manifest's head (all but "devices"), then each device's entry
// once its file is written. The manifest is written once at the end and the
// journal removed; a run killed before leaves the journal instead.
inline const QString JournalFileName = QStringLiteral("manifest.journal");

QByteArray manifestJson(const SiteManifest& manifest);
QByteArray journalHeadLine(const SiteManifest& manifest);
QByteArray journalEntryLine(const ManifestEntry& entry);

// The manifest of the folder, or what its journal holds when a run was
// killed before it wrote one (a last line cut short is left out); throws
// FileProblem (links as siteFilePath refuses them) naming the file and, where there is one, the entry.
SiteManifest readManifest(const QString& folder);

// The SHA-256 of the bytes in lower-case hexadecimal.
QString sha256Of(const QByteArray& bytes);
