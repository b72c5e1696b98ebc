// SPDX-License-Identifier: Apache-2.0
#include "registration/ResourceCatalogRegistration.h"

#include "automation/PlugInState.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

namespace {

const QString CatalogSource = QStringLiteral("ResourceCatalog");

// A catalog answer other than success becomes a failure the handler shows.
void expectSuccess(int returnCode, const QString& operation) {
    if (returnCode != lns::ResourceCatalog::Success)
        throw Error(returnCode, CatalogSource,
                    QStringLiteral("The resource catalog could not %1 (return code %2).")
                        .arg(operation)
                        .arg(returnCode));
}

QString parentFolder(const QString& folder) {
    const qsizetype separator = folder.lastIndexOf(QLatin1Char('\\'));
    return separator < 0 ? folder : folder.left(separator);
}

} // namespace

QString ResourceCatalogRegistration::lonWorksFolder() const {
    return CRegistry(m_store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                             QStringLiteral("LonWorks Path"));
}

bool ResourceCatalogRegistration::Register(bool remote) {
    QString folder;
    std::unique_ptr<lns::ResourceCatalog> catalog;
    bool opened = false;
    const std::vector<ProcedureStep> steps = {
        [&] {
            folder = lonWorksFolder();
            if (folder.isEmpty())
                throw Error(-1, CatalogSource,
                            QStringLiteral("The LonWorks folder is not known on this computer."));
        },
        [&] {
            catalog = m_catalogs();
            expectSuccess(
                catalog->Open(folder + QStringLiteral("\\Types"), lns::ResourceCatalog::ModeUpdate),
                QStringLiteral("be opened"));
            opened = true;
        },
        [&] { InitResourceLocation(Specific::process(), m_store); },
        [&] {
            const ResourceLocation& location = Specific::process().ResourceLocations[0];
            const int found =
                catalog->FindResourceSet(location.programIdScope, location.scope, 3, 0);
            if (found == lns::ResourceCatalog::Success)
                return;
            if (found != lns::ResourceCatalog::NotInCatalog)
                expectSuccess(found, QStringLiteral("look up the resource files"));
            expectSuccess(catalog->AddFolder(parentFolder(location.path)),
                          QStringLiteral("add the resource folder"));
            expectSuccess(catalog->Update(), QStringLiteral("update itself"));
        },
        [&] {
            opened = false;
            expectSuccess(catalog->Close(), QStringLiteral("be closed"));
        },
        [&] {
            if (remote)
                m_dialogs.message({QStringLiteral("Register this Plug-In on the LNS Server "
                                                  "computer to ensure all resource files "
                                                  "required by this Plug-In are available to the "
                                                  "server. Failure to do so may "
                                                  "cause unexpected errors."),
                                   PlugInIdentity::ApplicationTitle, DialogButtons::Ok,
                                   DialogIcon::Warning, 0});
        },
    };
    const bool completed = runSteps(
        steps, askAbortRetryIgnore(
                   m_dialogs, {PlugInIdentity::ApplicationTitle, DialogIcon::Critical, {}, {}}));
    if (!completed && opened && catalog)
        catalog->Close();
    return completed;
}

bool ResourceCatalogRegistration::Check() {
    if (m_state.ResourceFilesPresent)
        return true;
    std::unique_ptr<lns::ResourceCatalog> catalog;
    bool opened = false;
    // Only a look that ran to its end with every answer 0 finds the files: a
    // failure the user ignored proves nothing.
    bool present = false;
    const ProcedureStep look = [&] {
        present = false;
        if (opened)
            catalog->Close(); // a retry starts over
        opened = false;
        catalog = m_catalogs();
        if (catalog->Open(lonWorksFolder() + QStringLiteral("\\Types"),
                          lns::ResourceCatalog::ModeReadOnly) != lns::ResourceCatalog::Success)
            return;
        opened = true;
        const ResourceLocation& location = Specific::process().ResourceLocations[0];
        const int found = catalog->FindResourceSet(location.programIdScope, location.scope, 3, 0);
        opened = false;
        const int closed = catalog->Close();
        present = found == lns::ResourceCatalog::Success && closed == lns::ResourceCatalog::Success;
    };
    runSteps({look},
             askAbortRetryIgnore(m_dialogs,
                                 {PlugInIdentity::ApplicationTitle, DialogIcon::Critical, {}, {}}));
    if (opened)
        catalog->Close();
    m_state.ResourceFilesPresent = present;
    return present;
}
