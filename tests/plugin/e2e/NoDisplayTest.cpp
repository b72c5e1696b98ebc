// SPDX-License-Identifier: Apache-2.0
// Starts of the plug-in where there is no display: what shows no window
// runs, what needs one says so.
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class NoDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            saved.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        qputenv("RM42_UNATTENDED", "1");
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved)
            if (!value.isNull())
                qputenv(name, value);
        qunsetenv("RM42_UNATTENDED");
    }

    ProcessResult plugIn(const QStringList& arguments) {
        return runProgram(QStringLiteral("RM42xxPirConfigure"), arguments);
    }

    TempPlatformRoot root;
    std::vector<std::pair<const char*, QByteArray>> saved;
};

// A display number that no X server serves on this machine.
QString unusedDisplay() {
    for (int number = 90; number < 1000; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
    return QString();
}

// A display that cannot be reached (a stopped X server, a stale forwarding)
// is no display: the same things work, and the window names the display.
TEST_F(NoDisplay, AnUnreachableDisplayIsLikeNone) {
    const QString display = unusedDisplay();
    ASSERT_FALSE(display.isEmpty());
    qputenv("DISPLAY", display.toUtf8());
    for (const QStringList& switches :
         {QStringList{QStringLiteral("/regplugin")}, QStringList{QStringLiteral("/deregplugin")},
          QStringList{QStringLiteral("/regplugin")}}) {
        const ProcessResult run = plugIn(switches);
        EXPECT_FALSE(run.crashed) << qPrintable(switches.join(u' ') + run.err);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(switches.join(u' ') + run.err);
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
    }

    const QString reason = QStringLiteral("the display %1 cannot be reached").arg(display);
    const ProcessResult window = plugIn({});
    EXPECT_FALSE(window.crashed);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_EQ(window.err.trimmed().count(u'\n'), 0) << "one line: " << qPrintable(window.err);
    EXPECT_TRUE(window.err.contains(reason)) << qPrintable(window.err);

    const ProcessResult host =
        runProgram(QStringLiteral("lns-host"),
                   {QStringLiteral("run"), QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI"),
                    QStringLiteral("-")},
                   "create\nset networkName \"Demo Building\"\nget Name\nset Visible true\nget "
                   "Visible\nrelease\n");
    EXPECT_FALSE(host.crashed) << qPrintable(host.err);
    EXPECT_EQ(host.exitCode, 0) << qPrintable(host.err);
    EXPECT_EQ(host.out.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{"object 1", "ok", "\"Zentaro PIR ready RM42xx Configure\"",
                           "error 20006 Zentaro PIR ready RM42xx Configure: The configuration "
                           "window cannot be shown: " +
                               reason,
                           "false", "ok"}))
        << qPrintable(host.err);
}

TEST_F(NoDisplay, RegistrationAndTheHostsObjectsWorkAndTheWindowSaysWhyNot) {
    for (const QStringList& switches :
         {QStringList{QStringLiteral("/regserver")}, QStringList{QStringLiteral("/regplugin")},
          QStringList{QStringLiteral("/deregplugin"), QStringLiteral("/deregmode:-1")},
          QStringList{QStringLiteral("/regplugin")}, QStringList{QStringLiteral("/regserver")}}) {
        const ProcessResult run = plugIn(switches);
        EXPECT_FALSE(run.crashed) << qPrintable(switches.join(u' ') + run.err);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(switches.join(u' ') + run.err);
    }

    const ProcessResult window = plugIn({});
    EXPECT_FALSE(window.crashed);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_TRUE(window.err.contains(QStringLiteral("no display is available")))
        << qPrintable(window.err);

    const ProcessResult host =
        runProgram(QStringLiteral("lns-host"),
                   {QStringLiteral("run"), QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI"),
                    QStringLiteral("-")},
                   "create\nget Name\nset Visible true\nrelease\n");
    EXPECT_FALSE(host.crashed) << qPrintable(host.err);
    EXPECT_TRUE(host.out.contains(QStringLiteral("\"Zentaro PIR ready RM42xx Configure\"")))
        << qPrintable(host.out + host.err);
    EXPECT_TRUE(host.out.contains(QStringLiteral("error 20006 Zentaro PIR ready RM42xx Configure: "
                                                 "The configuration window cannot be shown: no "
                                                 "display is available")))
        << qPrintable(host.out);
}

} // namespace
