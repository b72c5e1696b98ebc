// SPDX-License-Identifier: Apache-2.0
// The window's entry points and ways out: the host's commands, the Object
// Server's events, the help, log, refresh and exit buttons, and the end.
#include "automation/PlugInState.h"
#include "model/CNvCtrlTable.h"
#include "model/Specific.h"
#include "platform/AbortRetryIgnore.h"
#include "platform/Dialogs.h"
#include "support/PlugInIdentity.h"
#include "support/fLog.h"
#include "window/HelpWindow.h"
#include "window/ModifiedMark.h"
#include "window/fMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTabWidget>

namespace {

// Help context ids of the tabs, in tab order; the "About" tab has none.
constexpr std::array<int, 8> TabHelpContextIds = {1004, 1002, 1003, 1006, 1005, 1001, 1000, 0};

// Every step of the shutdown runs even when an earlier one fails.
template <class Step> void ignoringFailure(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

template <class Object> void closeAndRelease(lns::Ref<Object>& object) {
    ignoringFailure([&] {
        if (object && object->IsOpen())
            object->Close();
    });
    object.reset();
}

} // namespace

void fMain::ProcessDeviceCommand(const lns::Ref<lns::AppDevice>& TheDevice, qint32) {
    // Edits still pending belong to the device before: they are dropped, never
    // applied to this one.
    logDroppedEdits();
    cmdCancel_Click();
    CurrentLonMarkObject.reset();
    CurrentDevice = TheDevice;
    openDevice();
}

void fMain::ProcessLonMarkObjectCommand(const lns::Ref<lns::LonMarkObject>& TheLMObject, qint32) {
    logDroppedEdits();
    cmdCancel_Click();
    CurrentLonMarkObject = TheLMObject;
    CurrentDevice.reset();
    walkToDevice(TheLMObject);
    openDevice();
}

// From the object up through its collection and the interface to the device;
// a walk that fails leaves no current device, and so nothing opened.
void fMain::walkToDevice(const lns::Ref<lns::LonMarkObject>& object) {
    runSteps(
        {[&] {
            const lns::Ref<lns::LonMarkObjects> objects = object->Parent();
            const lns::Ref<lns::Interface> deviceInterface = objects ? objects->Parent() : nullptr;
            CurrentDevice = deviceInterface ? deviceInterface->Parent() : nullptr;
            if (!CurrentDevice)
                throw Error(0, QStringLiteral("ProcessLonMarkObjectCommand"),
                            QStringLiteral("The device of the LonMark object cannot be "
                                           "found."));
        }},
        askAbortRetryIgnore(
            m_services.dialogs,
            {QStringLiteral("fMain ProcessLonMarkObjectCommand"), DialogIcon::Critical, {}, {}}));
}

// One row names the fields whose edits a new command drops.
void fMain::logDroppedEdits() {
    QStringList dropped;
    for (const auto& field : m_services.specific.NvCtrlTables) {
        if (ModifiedMark::isSet(widgetOf(*field)))
            dropped << field->Description;
    }
    if (!dropped.isEmpty())
        activityLog().LogCommand(QStringLiteral("Edits not applied, dropped"),
                                 dropped.join(QStringLiteral(", ")));
}

// Monitor point n shows in field n - 1; the field's monitor tag is the same
// number, so a monitoring error names the field its value would go to.
const CNvCtrlTable* fMain::fieldOfMonitorPoint(int monitorPoint) const {
    const auto& fields = m_services.specific.NvCtrlTables;
    const int position = monitorPoint - 1;
    if (position < 1 || position > fields.Count())
        return nullptr;
    return fields.Item(position).get();
}

void fMain::onMonitorValue(int monitorPoint, const QString& value) {
    if (!m_deviceOpened)
        return;
    if (const CNvCtrlTable* field = fieldOfMonitorPoint(monitorPoint))
        ShowMonitoredValue(*field, value);
}

void fMain::onMonitorError(int tag) {
    // Two lines, the second empty: the log shows nothing but the time for a
    // one-line message, and the user must see which field failed.
    if (const CNvCtrlTable* field = fieldOfMonitorPoint(tag))
        activityLog().LogError(QStringLiteral("Nv update error: ") + field->Name +
                               QStringLiteral("\r\n"));
}

void fMain::onRepaint() {
    if (QWidget* active = QApplication::activeWindow())
        active->update();
}

void fMain::tabData_Click() {
    const int tab = tabData->currentIndex();
    m_helpContextId =
        tab >= 0 && tab < static_cast<int>(TabHelpContextIds.size()) ? TabHelpContextIds[tab] : 0;
}

void fMain::cmdHelp_Click() {
    if (!m_help)
        m_help = std::make_unique<HelpWindow>();
    m_help->showTopic(m_helpContextId);
}

void fMain::cmdViewLog_Click() {
    fLog& log = activityLog();
    log.show();
    log.raise();
}

void fMain::cmdRefresh_Click() {
    if (!m_deviceOpened)
        return;
    try {
        RefreshDeviceStatus();
    } catch (const Error& error) {
        closeProgress();
        m_services.dialogs.inform(error.description(), Identity().Name, DialogIcon::Critical);
        return;
    }
    ReadInitValues();
    DisplayFieldValues();
}

void fMain::cmdExit_Click() {
    askExit();
}

void fMain::askExit() {
    if (m_services.state.InstanceCount >= 1) {
        const DialogAnswer answer = m_services.dialogs.message(
            {QStringLiteral("Are you sure that you want to exit?"), Identity().Name,
             DialogButtons::YesNo, DialogIcon::None, 1});
        // Leaving drops the unapplied edits: only a second yes lets them go.
        if (answer != DialogAnswer::Yes || !mayDiscardEdits())
            return;
        SetDisplayUnits();
    } else if (!mayDiscardEdits()) {
        return;
    }
    EndPlugIn();
}

bool fMain::mayDiscardEdits() {
    return !ChangesPending ||
           m_services.dialogs.message({QStringLiteral("Discard the changes that were not applied?"),
                                       Identity().Name, DialogButtons::YesNo, DialogIcon::Warning,
                                       1}) == DialogAnswer::Yes;
}

// The close box asks as "Exit" does while the host holds the plug-in, and
// before unapplied edits are lost once it does not; the plug-in's own close
// at its end goes through.
void fMain::closeEvent(QCloseEvent* event) {
    if (!m_ending && m_services.state.InstanceCount >= 1) {
        event->ignore();
        askExit();
        return;
    }
    if (!m_ending) {
        if (!mayDiscardEdits()) {
            event->ignore();
            return;
        }
        // Nobody holds the plug-in: closing the window ends it, as Exit does.
        QMetaObject::invokeMethod(
            this, [this] { EndPlugIn(); }, Qt::QueuedConnection);
    }
    ignoringFailure([&] { keepChosenUnits(); });
    if (!m_ending)
        keepPlacement();
    if (m_log)
        m_log->close();
    if (m_help)
        m_help->close();
    event->accept();
}

void fMain::EndPlugIn() {
    PlugInState& state = m_services.state;
    m_ending = true;
    ignoringFailure([&] { keepChosenUnits(); });
    keepPlacement();
    ignoringFailure([&] { hide(); });
    CurrentLonMarkObject.reset();
    CurrentDevice.reset();
    DeviceNvs.reset();
    closeAndRelease(state.CurrentSystem);
    closeAndRelease(state.CurrentNetwork);
    ignoringFailure([&] {
        if (lcaOS && lcaOS->IsOpen())
            lcaOS->Close();
    });
    state.ServerOpen = false;
    state.NetworkOpen = false;
    close();
    QCoreApplication::quit();
}
