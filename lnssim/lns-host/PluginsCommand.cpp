// SPDX-License-Identifier: Apache-2.0
// lns-host plugins: lists the plug-ins registered for LNS host tools, one per
// line: name, ProgID and version separated by tabs.
#include "Subcommands.h"
#include "objectserver/RegisteredPlugIns.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/PrintableText.h"
#include "platform/SettingsStore.h"

int runPlugins(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (!arguments.isEmpty()) {
        err << "usage: lns-host plugins\n";
        return 2;
    }
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const QList<lns::sim::RegisteredPlugIn> plugIns = lns::sim::registeredPlugIns(store);
        if (plugIns.isEmpty())
            err << "lns-host: no plug-ins are registered\n";
        for (const lns::sim::RegisteredPlugIn& plugIn : plugIns)
            out << printable(plugIn.name) << '\t' << printable(plugIn.progId) << '\t'
                << printable(plugIn.version) << '\n';
        return 0;
    } catch (const Error& error) {
        err << "lns-host: " << error.description() << '\n';
        return 1;
    }
}
