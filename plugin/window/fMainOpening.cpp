// SPDX-License-Identifier: Apache-2.0
// Opening a device in the window: the resource check, the LonMark objects'
// resource scope, the template label, and reading the device.
#include "automation/PlugInState.h"
#include "model/CNvCtrlTable.h"
#include "model/DeviceStateWord.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldCatalog.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "support/CRegistry.h"
#include "support/PaintTurns.h"
#include "support/PlugInIdentity.h"
#include "window/fMain.h"

#include <QLabel>

namespace {

constexpr int OffNet = 1;
constexpr std::array<int, 4> ResourceScopes = {6, 5, 4, 3};

const QString ResourcesMissingPrompt = QStringLiteral(
    "The resource files required for this device are not present on this computer. Browsing "
    "and data formating capabilities might be restricted to standard types and standard "
    "functional profile templates. Do you want to continue?");
const QString ModeNotSetPrompt =
    QStringLiteral("Unable to set the Mode for the LonMark Objects, do you want to proceed?");
const QString CatalogError = QStringLiteral("Error closing the catalog");

} // namespace

bool fMain::offNet() const {
    const lns::Ref<lns::System>& system = m_services.state.CurrentSystem;
    return system && system->ManagementMode() == OffNet;
}

void fMain::showProgress(const QString& text) {
    if (!m_progress)
        m_progress = m_services.progress();
    m_progress->DisplayStatus(text);
}

// Each read waits on the device: the count tells how much is left, and the
// window keeps painting in between.
void fMain::showReadingProgress(int position, int count) {
    showProgress(QStringLiteral("Reading %1 of %2").arg(position).arg(count));
    PaintTurns::letWindowsPaint();
}

void fMain::closeProgress() {
    m_progress.reset();
}

bool fMain::askYesNo(const QString& text) {
    return m_services.dialogs.message({text, Identity().Name, DialogButtons::YesNo,
                                       DialogIcon::Warning, 0}) == DialogAnswer::Yes;
}

// Nothing of the device before stays on screen: until this one has opened,
// the window shows no values and takes no edit (the user's input is held
// while it opens), and the pages stay locked if it does not.
void fMain::openDevice() {
    showNoValues();
    StatusPanels[0]->clear();
    StatusPanels[1]->setText(m_services.state.CurrentObjectName);
    if (CurrentDevice && mayOpen() && SetDevTemplateLabel())
        InitDevice();
    if (!m_deviceOpened)
        lockPages();
    writeSnapshots();
}

bool fMain::mayOpen() {
    if (!m_services.resourceFilesPresent())
        return askYesNo(ResourcesMissingPrompt);
    if (!m_services.state.RememberedRemote && !DrfLookUp())
        return askYesNo(ModeNotSetPrompt);
    return true;
}

bool fMain::DrfLookUp() {
    showProgress(QStringLiteral("Complete DRF look-up in progress..."));
    QString programId;
    lns::Ref<lns::LonMarkObjects> objects;
    QString typesFolder;
    const StepFailureHandler handler = askAbortRetryIgnore(
        m_services.dialogs, {QStringLiteral("fMain DrfLookUp"), DialogIcon::Critical, {}, {}});
    if (!runSteps({[&] {
                       programId = CurrentDevice->ProgramId();
                       objects = CurrentDevice->Interface()->LonMarkObjects();
                   },
                   [&] {
                       CRegistry registry(m_services.store);
                       typesFolder = registry.MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                             QStringLiteral("LonWorks Path")) +
                                     QStringLiteral("\\Types");
                   }},
                  handler)) {
        closeProgress();
        return false;
    }
    const std::unique_ptr<lns::ResourceCatalog> catalog = m_services.catalogs();
    if (catalog->Open(typesFolder, lns::ResourceCatalog::ModeReadOnly) !=
        lns::ResourceCatalog::Success) {
        m_services.dialogs.inform(CatalogError, Identity().Name, DialogIcon::Critical);
        closeProgress();
        return false;
    }
    std::vector<ProcedureStep> lookUps;
    const int count = objects ? objects->Count() : 0;
    for (int i = 1; i <= count; ++i)
        lookUps.push_back([&, i] { lookUpResourceScope(*catalog, programId, *objects->Item(i)); });
    const bool finished = runSteps(lookUps, handler);
    if (catalog->Close() != lns::ResourceCatalog::Success)
        m_services.dialogs.inform(CatalogError, Identity().Name, DialogIcon::Critical);
    closeProgress();
    return finished;
}

// Gives the object the most specific scope whose functional profile lists
// its type; an object found at no scope keeps its mode.
void fMain::lookUpResourceScope(lns::ResourceCatalog& catalog, const QString& programId,
                                lns::LonMarkObject& object) {
    const int typeIndex = object.TypeIndex();
    for (int scope : ResourceScopes) {
        if (catalog.FindResourceSet(programId, scope, 3, 0) != lns::ResourceCatalog::Success)
            continue;
        if (catalog.OpenFile(programId, scope, lns::ResourceCatalog::FunctionalProfileFile) !=
            lns::ResourceCatalog::Success)
            throw Error(0, QStringLiteral("DrfLookUp"),
                        QStringLiteral("The functional profile file of %1 at scope %2 cannot be "
                                       "opened.")
                            .arg(programId)
                            .arg(scope));
        const bool found = catalog.HasTypeIndex(typeIndex);
        if (found) {
            // Every opening finds the same scope: only a change is written.
            if (object.ResourceScope() != scope)
                object.setResourceScope(scope);
            showProgress(QStringLiteral("Set %1 mode = %2").arg(object.Name()).arg(scope));
        }
        catalog.CloseFile();
        if (found)
            return;
    }
}

bool fMain::SetDevTemplateLabel() {
    QString templateName;
    const StepFailureHandler handler =
        askAbortRetryIgnore(m_services.dialogs, {QStringLiteral("fMain SetDevTemplateLabel"),
                                                 DialogIcon::Critical,
                                                 {},
                                                 [this](const Error&) { closeProgress(); }});
    return runSteps({[&] { templateName = CurrentDevice->DeviceTemplate()->Name(); },
                     [&] {
                         const QString baseName = templateName.section(u'[', 0, 0);
                         lblDeviceTemplate->setText(
                             QStringLiteral("%1 [%2 (%3)]")
                                 .arg(Identity().ManufacturerName, baseName,
                                      CurrentDevice->ProgramId()));
                     }},
                    handler);
}

bool fMain::InitDevice() {
    Specific& specific = m_services.specific;
    const StepFailureHandler handler =
        askAbortRetryIgnore(m_services.dialogs, {QStringLiteral("fMain InitDevice"),
                                                 DialogIcon::Critical,
                                                 {},
                                                 [this](const Error&) { closeProgress(); }});
    const bool built = runSteps(
        {[&] { ReadyToMonitor = false; },
         [&] { DeviceNvs = CurrentDevice->Interface()->NetworkVariables(); },
         [&] {
             // No value of the device before may stay bound: an edit must never
             // reach another thermostat.
             specific.NvCtrlTables.Clear();
             specific.NvCpTables.Clear();
             BuildNvCpTables(
                 specific, [this](const QString& path) { return GetCpByTypeIndex(path); },
                 m_services.state.CurrentSystem);
             BuildNvCtrlTables(specific, m_fieldControls);
         },
         [&] { StatusPanels[1]->setText(m_services.state.CurrentObjectName); },
         [&] { RefreshDeviceStatus(); }},
        handler);
    const bool filled = built && EnableNvFields(ReadyToMonitor) && InitNvTable() &&
                        ReadInitValues();
    if (filled) {
        showDeviceOpened();
        DisplayFieldValues();
    }
    closeProgress();
    return filled;
}

void fMain::RefreshDeviceStatus() {
    QLabel* panel = StatusPanels[0];
    if (offNet()) {
        panel->setText(QStringLiteral("Offnet"));
        return;
    }
    if (!CurrentDevice->Commissioned()) {
        panel->setText(QStringLiteral("Not Commissioned yet"));
        return;
    }
    showProgress(QStringLiteral("Testing the device..."));
    if (CurrentDevice->Test() != 0) {
        panel->setText(QStringLiteral("?"));
        return;
    }
    showProgress(QStringLiteral("Reading the device state..."));
    const int state = CurrentDevice->State();
    panel->setText(DeviceStateWord(state));
    if (state == ConfiguredOnline)
        ReadyToMonitor = true;
}

bool fMain::InitNvTable() {
    setBusyPointer(true);
    std::vector<ProcedureStep> steps;
    for (const auto& field : m_services.specific.NvCtrlTables)
        steps.push_back([field] { field->Initialize(); });
    const bool done =
        runSteps(steps, askAbortRetryIgnore(m_services.dialogs,
                                            {QStringLiteral("fMain InitNvTable"),
                                             DialogIcon::Critical,
                                             {},
                                             {}}));
    setBusyPointer(false);
    return done;
}
