// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "BrowserActions.h"
#include "NetworkSnapshot.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QProgressDialog;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;
class SetupRun;

namespace lns {
class ObjectServer;
}

// A failure as the browser shows it: the text, then its number in decimal
// and hexadecimal and who raised it.
QString failureText(qint32 number, const QString& source, const QString& description);

// The host's network browser: the networks of the platform root as a tree of
// subsystems, devices and their LonMark objects, the selected object's
// details, and the commands plug-ins registered for it. A command starts its
// plug-in as a separate process; the browser follows what that plug-in and
// any other process change in the networks.
class BrowserWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        SettingsStore& store;
        QString programFolder; // where lns-host and the plug-ins are found
        // Shows a failure (title, text with its number) without waiting for
        // the user: plug-ins and the tree go on meanwhile.
        std::function<void(const QString&, const QString&)> showError;
    };

    explicit BrowserWindow(Services services, QWidget* parent = nullptr);
    ~BrowserWindow() override;

    // Selects the object with this key (a network's name, a device's or
    // LonMark object's path); false when the tree has no such object.
    bool select(const QString& key);
    // The labels of what is offered for the selected object, in order.
    QStringList offeredActions() const;
    // Carries out the offered action with this label; false if none has it.
    bool trigger(const QString& label);
    // The plug-ins started from here that still run.
    int runningPlugIns() const;
    // Asks every plug-in window opened from here to close.
    void closePlugIns();
    // Rereads the networks now (the browser also does so by itself when the
    // databases change).
    void reload();

    QTreeWidget* tree() const { return m_tree; }
    QLabel* notice() const { return m_notice; }
    QPushButton* noticeButton() const { return m_noticeButton; }

signals:
    // The first-run steps are over; the problem is empty when they succeeded.
    void setupFinished(const QString& problem);

private:
    void buildWidgets();
    void checkForChanges();
    void rebuildTree();
    void showSelection();
    void showFirstRunNotice();
    void runSetup();
    void start(const BrowserAction& action);
    QString selectedKey() const;
    QList<BrowserAction> actionsForSelection() const;

    Services m_services;
    std::shared_ptr<lns::ObjectServer> m_server;
    QList<NetworkSnapshot> m_networks;
    QList<lns::sim::RegisteredPlugIn> m_plugIns;
    QString m_fingerprint;
    QTimer m_watch;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_details = nullptr;
    QListWidget* m_actions = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_noticeButton = nullptr;
    QList<BrowserAction> m_shownActions;
    QMap<QString, QPointer<QObject>> m_sessions;
    SetupRun* m_setup = nullptr;
    QProgressDialog* m_setupProgress = nullptr;
};
