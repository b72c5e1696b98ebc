// SPDX-License-Identifier: Apache-2.0
// lns-host export NETWORK [FILE]: writes a network from its database as JSON,
// in the layout of the kit's network.json, so a person can read it or diff it
// against the description it was loaded from.
#include "Subcommands.h"
#include "objectserver/NetworkDatabase.h"
#include "objectserver/NetworkName.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QFile>

int runExport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty() || arguments.size() > 2) {
        err << "usage: lns-host export NETWORK [FILE]\n";
        return 2;
    }
    const QString& name = arguments.first();
    QByteArray json;
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const auto server = lns::sim::objectServerFromSettings(store);
        server->Open(); // a missing folder or an unusable store is refused here
        const QString folder = lns::sim::networkFolder(server->lonWorksFolder(), name);
        server->Close();
        if (!lns::sim::NetworkDatabase::existsIn(folder)) {
            err << "lns-host export: there is no network \"" << name << "\" in " << folder << '\n';
            return 1;
        }
        const auto database = std::make_shared<lns::sim::NetworkDatabase>(
            std::make_shared<lns::sim::SimServerState>(), name, folder);
        database->open();
        json = database->toJson();
        database->close();
    } catch (const Error& error) {
        err << "lns-host export: " << error.description() << '\n';
        return 1;
    }
    if (arguments.size() == 1) {
        out << QString::fromUtf8(json);
        return 0;
    }
    QFile file(arguments[1]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size()) {
        err << "lns-host export: cannot write " << file.fileName() << ": " << file.errorString()
            << '\n';
        return 1;
    }
    out << "Wrote \"" << name << "\" to " << file.fileName() << '\n';
    return 0;
}
