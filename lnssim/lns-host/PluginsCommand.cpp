// SPDX-License-Identifier: Apache-2.0
// lns-host plugins: lists the plug-ins registered for LNS host tools, one per
// line: name, ProgID and version separated by tabs.
#include "Subcommands.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/PrintableText.h"
#include "platform/SettingsStore.h"

namespace {

const QString PlugInsKey = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins");

QString text(SettingsStore& store, const QString& key, const QString& name) {
    const auto value = store.value(Hive::LocalMachine, key, name);
    return value && value->type == ValueType::String ? value->text() : QString();
}

} // namespace

int runPlugins(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (!arguments.isEmpty()) {
        err << "usage: lns-host plugins\n";
        return 2;
    }
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const QStringList names =
            store.subKeys(Hive::LocalMachine, PlugInsKey).value_or(QStringList());
        if (names.isEmpty())
            err << "lns-host: no plug-ins are registered\n";
        for (const QString& name : names) {
            const QString key = PlugInsKey + QLatin1Char('\\') + name;
            out << printable(name) << '\t' << printable(text(store, key, QString())) << '\t'
                << printable(text(store, key, QStringLiteral("Version"))) << '\n';
        }
        return 0;
    } catch (const Error& error) {
        err << "lns-host: " << error.description() << '\n';
        return 1;
    }
}
