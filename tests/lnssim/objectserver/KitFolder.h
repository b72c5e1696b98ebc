// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "KitCopy.h"
#include "OpenDemo.h"
#include "objectserver/SimObjectServer.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh LonWorks folder holding a copy of the kit's networks, server
// settings and interface files, and a simulated Object Server over it.
class KitFolder {
public:
    KitFolder() {
        for (const char* part : {"Databases", "Import", "ObjectServer.json"})
            copyFromKit(QLatin1String(part), path() + u'/' + QLatin1String(part));
    }

    QString path() const { return m_dir.path(); }
    QString networkFile(const QString& network) const {
        return path() + QStringLiteral("/Databases/") + network + QStringLiteral("/network.json");
    }

private:
    QTemporaryDir m_dir;
};

// The LNS code of the Error that `call` throws, or -1 when it throws none.
template <class Call> int lnsCodeOf(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return error.lnsCode();
    }
    return -1;
}
