// SPDX-License-Identifier: Apache-2.0
// The host's network browser on the offscreen platform: what it shows of the
// demo network, and the plug-in it starts for a device, as a real process.
#include "BrowserActions.h"
#include "BrowserWindow.h"
#include "PlugInSession.h"
#include "TestApplication.h"
#include "TestEnvironment.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using AutomationProtocol::Operation;

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");
const QString Rtu1 = QStringLiteral("Demo Building/System 1/Floor 1/RTU-1");
const QString Hp1 = QStringLiteral("Demo Building/System 1/Floor 1/HP-1");
constexpr int PlugInTimeoutMs = 60000;

// A plug-in run takes a process start and a device read: waits long enough.
bool eventually(const std::function<bool()>& condition, int timeoutMs = PlugInTimeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

QTreeWidgetItem* itemWithKey(QTreeWidget& tree, const QString& key) {
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

struct Errors {
    QStringList shown;
};

class BrowserFixture : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        qputenv("RM42_UNATTENDED", "1");
        qputenv("RM42_SNAPSHOT_DIR", snapshots().toUtf8());
    }
    void TearDown() override {
        qunsetenv("RM42_UNATTENDED");
        qunsetenv("RM42_SNAPSHOT_DIR");
    }

    void layOutAndRegister() {
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        ASSERT_EQ(runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regplugin")})
                      .exitCode,
                  0);
        ASSERT_TRUE(eventually([] {
            return runProgram(QStringLiteral("lns-reg"),
                              {QStringLiteral("query"), QStringLiteral("HKCR\\") + ProgId})
                       .exitCode == 0;
        }));
    }

    // Command 50 in "Demo Building", sent by the host tool: another process.
    void registerCommands() {
        const ProcessResult result = runProgram(
            QStringLiteral("lns-host"), {QStringLiteral("run"), ProgId, QStringLiteral("-")},
            "create\nset networkName \"Demo Building\"\ncall SendCommand 50 0 \"\"\nrelease\n");
        ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
        ASSERT_FALSE(result.out.contains(QStringLiteral("error"))) << qPrintable(result.out);
    }

    // The component applications of the thermostats' template, as the host
    // tool lists them: what command 50 registered.
    QStringList registeredCommandNames() {
        const ProcessResult result =
            runProgram(QStringLiteral("lns-host"),
                       {QStringLiteral("browse"), QStringLiteral("Demo Building")});
        QStringList names;
        static const QRegularExpression line(
            QStringLiteral("^    \"([^\"]+)\"  command \\d+  class 7 "));
        for (const QString& text : result.out.split(u'\n')) {
            const QRegularExpressionMatch match = line.match(text);
            if (match.hasMatch())
                names << match.captured(1);
        }
        return names;
    }

    std::unique_ptr<BrowserWindow> openBrowser() {
        store = std::make_unique<SettingsStore>(root.settingsStoreFile());
        auto browser = std::make_unique<BrowserWindow>(BrowserWindow::Services{
            *store, binDir(), [this](const QString& title, const QString& text) {
                errors.shown << title + QStringLiteral(": ") + text;
            }});
        browser->show();
        return browser;
    }

    QString snapshots() const { return root.path() + QStringLiteral("/snapshots"); }
    // What the plug-in's window showed of a device, control by control.
    QString shownValues(const QString& device) const {
        QFile file(snapshots() + u'/' + device + QStringLiteral("-values.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    TempPlatformRoot root;
    std::unique_ptr<SettingsStore> store;
    Errors errors;
};

using Browser = BrowserFixture;

TEST(BrowserActions, ACommandOnAnObjectIsSentAsTheHostSendsItAndHoldsTheWindow) {
    const QList<BrowserAction> actions =
        objectActions(QStringLiteral("Demo Building"),
                      {{QStringLiteral("Configure RM42"), 13, 7, ProgId, true},
                       {QStringLiteral("Other"), 14, 7, QStringLiteral("Other.Prog"), false}},
                      Rtu1);
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0].label, QStringLiteral("Configure RM42"));
    EXPECT_EQ(actions[1].progId, QStringLiteral("Other.Prog"));
    const QList<PlugInSession::Call> calls = callsFor(actions[0]);
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[0].op, Operation::Set);
    EXPECT_EQ(calls[0].member, QStringLiteral("networkName"));
    EXPECT_EQ(calls[0].args, QJsonArray{QStringLiteral("Demo Building")});
    EXPECT_EQ(calls[1].member, QStringLiteral("SendCommand"));
    EXPECT_EQ(calls[1].args, (QJsonArray{13, 7, Rtu1}));
    EXPECT_EQ(calls[2].member, QStringLiteral("Visible"));
    EXPECT_EQ(calls[2].args, QJsonArray{true});
    EXPECT_EQ(holdFor(actions[0]), PlugInSession::Hold::WhileWindowShows);
    // One window per object and plug-in.
    EXPECT_NE(sessionKey(actions[0]),
              sessionKey(objectActions(QStringLiteral("Demo Building"),
                                       {{QStringLiteral("Configure RM42"), 13, 7, ProgId, true}},
                                       Hp1)[0]));
}

TEST(BrowserActions, ANetworkOffersCommands50And51PerPlugInWithoutAWindow) {
    const lns::sim::RegisteredPlugIn first{QStringLiteral("First"), QStringLiteral("A.B"), {}};
    const lns::sim::RegisteredPlugIn second{QStringLiteral("Second"), QStringLiteral("C.D"), {}};
    const QList<BrowserAction> one = networkActions(QStringLiteral("Site"), {first});
    ASSERT_EQ(one.size(), 2);
    EXPECT_EQ(one[0].label, QStringLiteral("Register plug-in commands"));
    EXPECT_EQ(one[1].label, QStringLiteral("Remove plug-in commands"));
    EXPECT_EQ(callsFor(one[0])[1].args, (QJsonArray{50, 0, QString()}));
    EXPECT_EQ(callsFor(one[1])[1].args, (QJsonArray{51, 0, QString()}));
    EXPECT_EQ(callsFor(one[1]).size(), 2);
    EXPECT_EQ(holdFor(one[0]), PlugInSession::Hold::ReleaseAtEnd);
    const QList<BrowserAction> two = networkActions(QStringLiteral("Site"), {first, second});
    ASSERT_EQ(two.size(), 4);
    EXPECT_EQ(two[2].label, QStringLiteral("Register plug-in commands (Second)"));
    EXPECT_EQ(two[2].progId, QStringLiteral("C.D"));
}

TEST_F(Browser, ShowsTheDemoNetworkWithEachDevicesStateProgramIdAndTemplate) {
    layOutAndRegister();
    const auto browser = openBrowser();
    QTreeWidgetItem* rtu1 = itemWithKey(*browser->tree(), Rtu1);
    ASSERT_NE(rtu1, nullptr);
    EXPECT_EQ(rtu1->text(0), QStringLiteral("RTU-1"));
    EXPECT_EQ(rtu1->text(1), QStringLiteral("commissioned, state 4"));
    EXPECT_EQ(rtu1->text(2), QStringLiteral("8003DB5500040421"));
    EXPECT_EQ(rtu1->text(3), QStringLiteral("Zentaro RM42_PIR"));
    EXPECT_EQ(rtu1->parent()->text(0), QStringLiteral("Floor 1"));
    EXPECT_EQ(rtu1->parent()->parent()->text(0), QStringLiteral("Demo Building"));
    EXPECT_NE(itemWithKey(*browser->tree(), Rtu1 + QStringLiteral("/Obj:Thermostat")), nullptr);
    EXPECT_TRUE(
        itemWithKey(*browser->tree(), QStringLiteral("Demo Building/System 1/Floor 3/RTU-2"))
            ->text(1)
            .startsWith(QStringLiteral("not commissioned")));
    EXPECT_TRUE(browser->notice()->isHidden());
    // Before command 50 the thermostats offer nothing; the network offers it.
    ASSERT_TRUE(browser->select(Rtu1));
    EXPECT_TRUE(browser->offeredActions().isEmpty());
    ASSERT_TRUE(browser->select(QStringLiteral("Demo Building")));
    EXPECT_EQ(browser->offeredActions(), (QStringList{QStringLiteral("Register plug-in commands"),
                                                      QStringLiteral("Remove plug-in commands")}));
}

TEST_F(Browser, FollowsCommandsAnotherProcessRegistersAndOffersThemForTheDevice) {
    layOutAndRegister();
    const auto browser = openBrowser();
    ASSERT_TRUE(browser->select(Rtu1));
    registerCommands();
    const QStringList registered = registeredCommandNames();
    ASSERT_FALSE(registered.isEmpty());
    EXPECT_TRUE(eventually([&] { return browser->offeredActions() == registered; }, 10000))
        << qPrintable(browser->offeredActions().join(u'|') + u'/' + registered.join(u'|'));
    // The selection stayed on RTU-1 through the reread.
    EXPECT_EQ(browser->tree()->currentItem()->data(0, Qt::UserRole).toString(), Rtu1);
    // Its LonMark object offers the command registered for objects.
    ASSERT_TRUE(browser->select(Rtu1 + QStringLiteral("/Obj:Thermostat")));
    EXPECT_EQ(browser->offeredActions(),
              QStringList{QStringLiteral("Zentaro PIR ready RM42xx LonMarkObject Configure")});
}

TEST_F(Browser, ConfigureStartsThePlugInPerDeviceAndClosingItsWindowReleasesIt) {
    layOutAndRegister();
    registerCommands();
    const auto browser = openBrowser();
    ASSERT_TRUE(browser->select(Rtu1));
    ASSERT_FALSE(browser->offeredActions().isEmpty());
    const QString configure = browser->offeredActions().first();
    ASSERT_TRUE(configure.endsWith(QStringLiteral("Device Configure"))) << qPrintable(configure);
    ASSERT_TRUE(browser->trigger(configure));
    EXPECT_EQ(browser->runningPlugIns(), 1);
    // The browser stays live while the plug-in reads the device: its tree answers.
    ASSERT_TRUE(browser->select(Hp1));
    ASSERT_TRUE(browser->trigger(configure));
    EXPECT_EQ(browser->runningPlugIns(), 2);
    ASSERT_TRUE(eventually([&] {
        return shownValues(QStringLiteral("RTU-1")).contains(QStringLiteral("Floor 1/RTU-1")) &&
               shownValues(QStringLiteral("HP-1")).contains(QStringLiteral("Floor 1/HP-1"));
    }));
    EXPECT_TRUE(shownValues(QStringLiteral("RTU-1")).contains(QStringLiteral("Cnfg Online")));
    // Choosing it again for an open device opens no second window.
    ASSERT_TRUE(browser->trigger(configure));
    EXPECT_EQ(browser->runningPlugIns(), 2);
    EXPECT_TRUE(errors.shown.isEmpty()) << qPrintable(errors.shown.join(u'\n'));
    browser->closePlugIns();
    EXPECT_TRUE(eventually([&] { return browser->runningPlugIns() == 0; }));
    EXPECT_TRUE(errors.shown.isEmpty()) << qPrintable(errors.shown.join(u'\n'));
}

// The user closes the plug-in's window: the browser, asking meanwhile whether
// it still shows, releases the object then, and the plug-in ends.
TEST(PlugInSession, ReleasesThePlugInOnceItsWindowIsClosed) {
    testApplication();
    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("requests.txt"));
    qputenv("PLUGIN_LOG", log.toUtf8());
    PlugInSession session(
        QStringLiteral(RM42_BROWSER_TEST_DATA "/window-closing-plugin.sh"),
        {{Operation::Set, QStringLiteral("networkName"), {QStringLiteral("Demo Building")}},
         {Operation::Call, QStringLiteral("SendCommand"), {13, 7, Rtu1}},
         {Operation::Set, QStringLiteral("Visible"), {true}}},
        PlugInSession::Hold::WhileWindowShows);
    QSignalSpy performed(&session, &PlugInSession::performed);
    QSignalSpy ended(&session, &PlugInSession::ended);
    QSignalSpy failed(&session, &PlugInSession::failed);
    session.start();
    ASSERT_TRUE(eventually([&] { return ended.count() == 1; }, 10000));
    qunsetenv("PLUGIN_LOG");
    EXPECT_EQ(performed.count(), 1);
    EXPECT_EQ(failed.count(), 0);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("create "), QStringLiteral("set networkName"),
                           QStringLiteral("call SendCommand"), QStringLiteral("set Visible"),
                           QStringLiteral("get Visible"), QStringLiteral("get Visible"),
                           QStringLiteral("get Visible"), QStringLiteral("release "),
                           QStringLiteral("end")}));
}

TEST_F(Browser, APlugInsErrorIsShownWithItsTextAndNumber) {
    layOutAndRegister();
    SettingsStore settings(root.settingsStoreFile());
    PlugInSession session(
        programPath(QStringLiteral("RM42xxPirConfigure")),
        {{Operation::Set, QStringLiteral("networkName"), {QStringLiteral("Demo Building")}},
         {Operation::Call,
          QStringLiteral("SendCommand"),
          {13, 7, QStringLiteral("Demo Building/System 1/Floor 1/Nowhere")}},
         {Operation::Set, QStringLiteral("Visible"), {true}}},
        PlugInSession::Hold::WhileWindowShows);
    QSignalSpy failed(&session, &PlugInSession::failed);
    QSignalSpy ended(&session, &PlugInSession::ended);
    session.start();
    ASSERT_TRUE(eventually([&] { return ended.count() == 1; }));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.first().at(0).toInt(), 20005);
    const QString text = failureText(failed.first().at(0).toInt(), failed.first().at(1).toString(),
                                     failed.first().at(2).toString());
    EXPECT_TRUE(text.contains(QStringLiteral("Error 20005 (0x00004e25)"))) << qPrintable(text);
    EXPECT_FALSE(failed.first().at(2).toString().isEmpty());
}

TEST_F(Browser, OnFirstRunOffersSetupAndRegistrationAndThenShowsTheNetworks) {
    const auto browser = openBrowser();
    EXPECT_FALSE(browser->notice()->isHidden());
    EXPECT_TRUE(browser->notice()->text().contains(QStringLiteral("not laid out")));
    EXPECT_EQ(browser->tree()->topLevelItemCount(), 0);
    QSignalSpy finished(browser.get(), &BrowserWindow::setupFinished);
    browser->noticeButton()->click();
    EXPECT_FALSE(browser->noticeButton()->isEnabled());
    ASSERT_TRUE(eventually([&] { return finished.count() == 1; }));
    EXPECT_EQ(finished.first().first().toString(), QString());
    EXPECT_TRUE(errors.shown.isEmpty()) << qPrintable(errors.shown.join(u'\n'));
    EXPECT_TRUE(browser->notice()->isHidden()) << qPrintable(browser->notice()->text());
    ASSERT_TRUE(browser->select(QStringLiteral("Demo Building")));
    EXPECT_EQ(browser->offeredActions().size(), 2);
}

} // namespace
