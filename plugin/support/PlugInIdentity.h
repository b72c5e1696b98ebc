// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// The plug-in's identity, read-only for the life of the process.
struct PlugInIdentity {
    QString ProgID;
    QString Name;
    QString Version;
    QString Description;
    QString ManufacturerName;
    QString ManufacturerID;

    // The LNS interface level the plug-in is written against.
    static inline const QString LcaVersion = QStringLiteral("3.0");
    // The title of message boxes that name no title of their own.
    static inline const QString ApplicationTitle = QStringLiteral("RM42xxPirConfigure");

    // Loads the identity from the string table and the program's version, in
    // the order the start-up routine gives.
    static PlugInIdentity load();
};

// The identity of this process, loaded once at first use.
const PlugInIdentity& Identity();
