// SPDX-License-Identifier: Apache-2.0
// lns-host import NETWORK FILE: imports a device maker's external interface file
// into the network's template library, as a host does. The template takes the
// file's name; importing the same name again brings that template up to date.
#include "Subcommands.h"
#include "lns/ObjectServer.h"
#include "objectserver/NetworkName.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/XifReader.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace {

bool hasTemplate(const lns::DeviceTemplates& templates, const QString& name) {
    for (int t = 1; t <= templates.Count(); ++t) {
        if (templates.Item(t)->Name() == name)
            return true;
    }
    return false;
}

// The template `name` of the library, made when there is none; the file is
// read first, so a refused file leaves the library as it was.
lns::Ref<lns::DeviceTemplate> importInto(const lns::Ref<lns::DeviceTemplates>& templates,
                                         const QString& name, const QString& file) {
    if (hasTemplate(*templates, name)) {
        const auto existing = templates->Item(name);
        existing->Import(file);
        return existing;
    }
    const auto created = templates->Add(name, 1);
    try {
        created->Import(file);
    } catch (const Error&) {
        templates->Remove(name);
        throw;
    }
    return created;
}

} // namespace

int runImport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 2) {
        err << "usage: lns-host import NETWORK FILE\n";
        return 2;
    }
    const QString file = QFileInfo(arguments[1]).absoluteFilePath();
    const QString name = QFileInfo(file).completeBaseName();
    try {
        lns::sim::requireNetworkName(arguments[0]);
        lns::sim::XifReader::read(file);
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const auto server = lns::sim::objectServerFromSettings(store);
        server->setAutoOpen(false);
        server->Open();
        const auto network = server->Networks()->Item(arguments[0]);
        network->Open();
        const auto system = network->Systems()->Item(1);
        system->Open();
        const auto imported = importInto(system->TemplateLibrary()->DeviceTemplates(), name, file);
        out << "Imported " << file << " into \"" << network->Name() << "\" as template \""
            << imported->Name() << "\"  program ID " << imported->ProgramId() << '\n';
        system->Close();
        network->Close();
        server->Close();
    } catch (const Error& error) {
        out.flush();
        err << "lns-host import: " << error.description() << '\n';
        return 1;
    }
    return 0;
}
