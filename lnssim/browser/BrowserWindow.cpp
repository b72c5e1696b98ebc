// SPDX-License-Identifier: Apache-2.0
#include "BrowserWindow.h"

#include "DatabaseFingerprint.h"
#include "PlugInSession.h"
#include "SetupRun.h"
#include "automation/AutomationClassRegistry.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/PlatformLayout.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int KeyRole = Qt::UserRole;
// How often the browser looks whether another process changed a network.
constexpr int WatchIntervalMs = 500;

QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const QStringList& columns, const QString& key) {
    auto* item = new QTreeWidgetItem(parent, columns);
    item->setData(0, KeyRole, key);
    return item;
}

QString commandLines(const QList<OfferedCommand>& commands) {
    if (commands.isEmpty())
        return QStringLiteral("(no plug-in commands registered for its template)");
    QStringList lines;
    for (const OfferedCommand& command : commands)
        lines << QStringLiteral("\"%1\": command %2, class %3, %4%5")
                     .arg(command.name)
                     .arg(command.commandId)
                     .arg(command.objectClassId)
                     .arg(command.progId,
                          command.defaultAction ? QStringLiteral(", default action") : QString());
    return lines.join(QLatin1Char('\n'));
}

const DeviceEntry* findDevice(const QList<NetworkSnapshot>& networks, const QString& key,
                              const LonMarkObjectEntry** object, const NetworkSnapshot** owner) {
    for (const NetworkSnapshot& network : networks)
        for (const SubsystemEntry& subsystem : network.subsystems)
            for (const DeviceEntry& device : subsystem.devices) {
                *owner = &network;
                if (device.path == key)
                    return &device;
                for (const LonMarkObjectEntry& candidate : device.objects)
                    if (candidate.path == key) {
                        *object = &candidate;
                        return &device;
                    }
            }
    return nullptr;
}

} // namespace

QString failureText(qint32 number, const QString& source, const QString& description) {
    return QStringLiteral("%1\n\nError %2 (%3) from %4")
        .arg(description)
        .arg(number)
        .arg(errorNumberText(number), source);
}

BrowserWindow::BrowserWindow(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("LonWorks Network Browser"));
    buildWidgets();
    reload();
    m_watch.setInterval(WatchIntervalMs);
    connect(&m_watch, &QTimer::timeout, this, &BrowserWindow::checkForChanges);
    m_watch.start();
}

BrowserWindow::~BrowserWindow() = default;

void BrowserWindow::buildWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* noticeRow = new QHBoxLayout;
    m_notice = new QLabel(central);
    m_notice->setWordWrap(true);
    m_noticeButton = new QPushButton(central);
    connect(m_noticeButton, &QPushButton::clicked, this, &BrowserWindow::runSetup);
    noticeRow->addWidget(m_notice, 1);
    noticeRow->addWidget(m_noticeButton);
    layout->addLayout(noticeRow);

    auto* splitter = new QSplitter(central);
    m_tree = new QTreeWidget(splitter);
    m_tree->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("State"),
                             QStringLiteral("Program ID"), QStringLiteral("Template")});
    m_tree->setAccessibleName(QStringLiteral("Networks"));
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &BrowserWindow::showSelection);

    auto* side = new QWidget(splitter);
    auto* sideLayout = new QVBoxLayout(side);
    m_details = new QLabel(side);
    m_details->setWordWrap(true);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_details->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_details->setAccessibleName(QStringLiteral("Details"));
    auto* commandsCaption = new QLabel(QStringLiteral("&Commands:"), side);
    m_actions = new QListWidget(side);
    m_actions->setAccessibleName(QStringLiteral("Commands"));
    commandsCaption->setBuddy(m_actions);
    auto* runButton = new QPushButton(QStringLiteral("&Run"), side);
    connect(m_actions, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { trigger(item->text()); });
    connect(runButton, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem* item = m_actions->currentItem())
            trigger(item->text());
    });
    sideLayout->addWidget(m_details, 1);
    sideLayout->addWidget(commandsCaption);
    sideLayout->addWidget(m_actions, 1);
    sideLayout->addWidget(runButton);
    splitter->addWidget(m_tree);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    // The tree's four columns in sight at the start.
    splitter->setSizes({640, 380});
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    resize(1020, 600);
}

void BrowserWindow::reload() {
    QString lonWorksFolder;
    try {
        m_plugIns = lns::sim::registeredPlugIns(m_services.store);
        QString problem;
        lonWorksFolder = lns::sim::lonWorksPath(m_services.store, problem);
        m_networks.clear();
        if (lns::sim::platformLaidOut(m_services.store)) {
            if (!m_server) {
                auto server = lns::sim::objectServerFromSettings(m_services.store);
                server->setAutoOpen(false);
                server->Open();
                m_server = std::move(server);
            }
            for (const QString& name : networkNames(*m_server))
                m_networks.append(readNetwork(*m_server, name));
        }
    } catch (const Error& error) {
        m_server.reset();
        statusBar()->showMessage(
            QStringLiteral("%1 (%2)").arg(error.description(), errorNumberText(error.number())));
    }
    m_fingerprint =
        databaseFingerprint(lonWorksFolder.isEmpty() ? QString() : Paths::toNative(lonWorksFolder),
                            PlatformRoot::settingsStoreFile());
    rebuildTree();
    showFirstRunNotice();
}

void BrowserWindow::checkForChanges() {
    QString problem;
    const QString folder = lns::sim::lonWorksPath(m_services.store, problem);
    const QString now = databaseFingerprint(folder.isEmpty() ? QString() : Paths::toNative(folder),
                                            PlatformRoot::settingsStoreFile());
    if (now != m_fingerprint)
        reload();
}

// The tree is built anew from the snapshots; the selection and what was
// expanded are found again by their keys.
void BrowserWindow::rebuildTree() {
    const QString selected = selectedKey();
    QSet<QString> expanded;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->isExpanded())
            expanded.insert((*it)->data(0, KeyRole).toString());
    const bool firstFill = m_tree->topLevelItemCount() == 0;
    m_tree->blockSignals(true);
    m_tree->clear();
    for (const NetworkSnapshot& network : m_networks) {
        auto* networkItem = new QTreeWidgetItem(
            m_tree, {network.name,
                     network.problem.isEmpty()
                         ? (network.offNet ? QStringLiteral("off-net") : QStringLiteral("on-net"))
                         : network.problem});
        networkItem->setData(0, KeyRole, network.name);
        for (const SubsystemEntry& subsystem : network.subsystems) {
            auto* subsystemItem = addItem(networkItem, {subsystem.name},
                                          network.name + QLatin1Char('/') + network.systemName +
                                              QLatin1Char('/') + subsystem.name);
            for (const DeviceEntry& device : subsystem.devices) {
                auto* deviceItem = addItem(
                    subsystemItem,
                    {device.name, device.stateWords(), device.programId, device.templateName},
                    device.path);
                for (const LonMarkObjectEntry& object : device.objects)
                    addItem(deviceItem, {object.name}, object.path);
            }
        }
    }
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const QString key = (*it)->data(0, KeyRole).toString();
        // At first every network shows its subsystems and devices.
        if (expanded.contains(key) || (firstFill && (*it)->childCount() > 0 &&
                                       (*it)->data(0, KeyRole).toString().count(u'/') < 2))
            (*it)->setExpanded(true);
        if (key == selected)
            m_tree->setCurrentItem(*it);
    }
    m_tree->blockSignals(false);
    showSelection();
}

QString BrowserWindow::selectedKey() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? item->data(0, KeyRole).toString() : QString();
}

bool BrowserWindow::select(const QString& key) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, KeyRole).toString() == key) {
            m_tree->setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

QList<BrowserAction> BrowserWindow::actionsForSelection() const {
    const QString key = selectedKey();
    for (const NetworkSnapshot& network : m_networks)
        if (network.name == key)
            return networkActions(network.name, m_plugIns);
    const LonMarkObjectEntry* object = nullptr;
    const NetworkSnapshot* network = nullptr;
    const DeviceEntry* device = findDevice(m_networks, key, &object, &network);
    if (!device)
        return {};
    return object ? objectActions(network->name, object->commands, object->path)
                  : objectActions(network->name, device->commands, device->path);
}

void BrowserWindow::showSelection() {
    const QString key = selectedKey();
    QString details;
    const LonMarkObjectEntry* object = nullptr;
    const NetworkSnapshot* owner = nullptr;
    if (const DeviceEntry* device = findDevice(m_networks, key, &object, &owner)) {
        details = object ? QStringLiteral("LonMark object %1 \"%2\"\nPath: %3\nCommands:\n%4")
                               .arg(object->index)
                               .arg(object->name, object->path, commandLines(object->commands))
                         : QStringLiteral("Device %1\nPath: %2\nState: %3\nProgram ID: "
                                          "%4\nTemplate: %5\nLonMark objects: %6\nCommands:\n%7")
                               .arg(device->name, device->path, device->stateWords(),
                                    device->programId, device->templateName)
                               .arg(device->objects.size())
                               .arg(commandLines(device->commands));
    }
    for (const NetworkSnapshot& network : m_networks) {
        if (network.name == key)
            details = network.problem.isEmpty()
                          ? QStringLiteral("Network \"%1\"\nSystem: %2 (%3)\nSubsystems: %4")
                                .arg(network.name, network.systemName,
                                     network.offNet ? QStringLiteral("off-net")
                                                    : QStringLiteral("on-net"))
                                .arg(network.subsystems.size())
                          : QStringLiteral("Network \"%1\"\n%2").arg(network.name, network.problem);
    }
    m_details->setText(details);
    m_shownActions = actionsForSelection();
    m_actions->clear();
    for (const BrowserAction& action : m_shownActions)
        m_actions->addItem(action.label);
    if (m_actions->count() > 0)
        m_actions->setCurrentRow(0);
}

QStringList BrowserWindow::offeredActions() const {
    QStringList labels;
    for (const BrowserAction& action : m_shownActions)
        labels << action.label;
    return labels;
}

bool BrowserWindow::trigger(const QString& label) {
    for (const BrowserAction& action : m_shownActions) {
        if (action.label == label) {
            start(action);
            return true;
        }
    }
    return false;
}

void BrowserWindow::start(const BrowserAction& action) {
    const QString key = sessionKey(action);
    if (m_sessions.value(key)) {
        statusBar()->showMessage(
            QStringLiteral("%1 is already open for %2").arg(action.progId, action.target));
        return;
    }
    const QString executable =
        AutomationClassRegistry::serverExecutable(m_services.store, action.progId);
    if (executable.isEmpty()) {
        m_services.showError(
            action.label,
            QStringLiteral("No automation class is registered for %1.").arg(action.progId));
        return;
    }
    auto* session = new PlugInSession(executable, callsFor(action), holdFor(action), this);
    m_sessions.insert(key, session);
    connect(session, &PlugInSession::failed, this,
            [this, action](qint32 number, const QString& source, const QString& description) {
                m_services.showError(action.label, failureText(number, source, description));
            });
    connect(session, &PlugInSession::performed, this, [this, action] {
        statusBar()->showMessage(QStringLiteral("%1: sent to %2 for %3")
                                     .arg(action.label, action.progId, action.target));
    });
    connect(session, &PlugInSession::ended, this, [this, key, session, action] {
        m_sessions.remove(key);
        session->deleteLater();
        statusBar()->showMessage(QStringLiteral("%1: done").arg(action.label), 5000);
    });
    statusBar()->showMessage(QStringLiteral("%1: starting %2").arg(action.label, action.progId));
    session->start();
}

int BrowserWindow::runningPlugIns() const {
    int running = 0;
    for (const QPointer<QObject>& session : m_sessions)
        running += session ? 1 : 0;
    return running;
}

void BrowserWindow::closePlugIns() {
    for (const QPointer<QObject>& session : m_sessions)
        if (auto* plugIn = qobject_cast<PlugInSession*>(session.data()))
            plugIn->close();
}

void BrowserWindow::showFirstRunNotice() {
    bool laidOut = false;
    try {
        laidOut = lns::sim::platformLaidOut(m_services.store);
    } catch (const Error&) {
    }
    const bool setupRunning = m_setup != nullptr;
    if (!laidOut) {
        m_notice->setText(
            QStringLiteral(
                "The simulated LonWorks platform is not laid out yet in %1. Set it up now: the "
                "LonWorks folder with its networks, and the plug-ins found beside this program.")
                .arg(PlatformRoot::folder()));
        m_noticeButton->setText(QStringLiteral("&Set up the platform"));
    } else if (m_plugIns.isEmpty()) {
        m_notice->setText(QStringLiteral("No plug-in is registered with the host yet."));
        m_noticeButton->setText(QStringLiteral("&Register the plug-ins"));
    }
    const bool needed = !laidOut || m_plugIns.isEmpty();
    m_notice->setVisible(needed);
    m_noticeButton->setVisible(needed);
    m_noticeButton->setEnabled(!setupRunning);
}

void BrowserWindow::runSetup() {
    bool laidOut = false;
    try {
        laidOut = lns::sim::platformLaidOut(m_services.store);
    } catch (const Error&) {
    }
    const QList<SetupRun::Step> steps =
        SetupRun::stepsFor(!laidOut, m_plugIns.isEmpty(), m_services.programFolder);
    if (steps.isEmpty()) {
        m_services.showError(QStringLiteral("Setup"),
                             QStringLiteral("No plug-in was found in %1 to register.")
                                 .arg(m_services.programFolder));
        return;
    }
    m_setup = new SetupRun(steps, this);
    m_setupProgress = new QProgressDialog(QString(), QString(), 0, int(steps.size()), this);
    m_setupProgress->setWindowTitle(QStringLiteral("Setup"));
    m_setupProgress->setMinimumDuration(0);
    connect(m_setup, &SetupRun::stepStarted, this, [this](int index, const QString& title) {
        m_setupProgress->setLabelText(title + QStringLiteral("..."));
        m_setupProgress->setValue(index);
    });
    connect(m_setup, &SetupRun::done, this, [this](const QString& problem) {
        m_setupProgress->deleteLater();
        m_setupProgress = nullptr;
        m_setup->deleteLater();
        m_setup = nullptr;
        if (!problem.isEmpty())
            m_services.showError(QStringLiteral("Setup"), problem);
        m_server.reset();
        reload();
        emit setupFinished(problem);
    });
    m_noticeButton->setEnabled(false);
    m_setup->start();
}
