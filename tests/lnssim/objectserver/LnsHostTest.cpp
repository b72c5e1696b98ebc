// SPDX-License-Identifier: Apache-2.0
#include "KitCopy.h"
#include "OpenDemo.h"
#include "TestEnvironment.h"
#include "objectserver/SimObjectServer.h"
#include "platform/SettingsStore.h"
#include "support/CRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(LnsHost, SetupLaysOutTheKitAndBrowseListsTheDemoDevices) {
    TempPlatformRoot root;
    const ProcessResult setup = runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")});
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    EXPECT_TRUE(QFileInfo(lonWorks + QStringLiteral("/bin/XIF32BIN")).isExecutable());
    EXPECT_TRUE(QFileInfo(lonWorks + QStringLiteral("/Types")).isDir());
    {
        SettingsStore store(root.settingsStoreFile());
        EXPECT_EQ(CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                                  QStringLiteral("LonWorks Path")),
                  lonWorks);
    }

    const ProcessResult browse = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("browse"), QStringLiteral("Demo Building")});
    ASSERT_EQ(browse.exitCode, 0) << browse.err.toStdString();
    for (const char* device : {"RTU-1", "HP-1", "RTU-11", "HP-12", "RTU-2", "RTU-3", "RTU-4"})
        EXPECT_TRUE(browse.out.contains(QLatin1String("    ") + QLatin1String(device) +
                                        QLatin1String("  ")))
            << device;
    EXPECT_TRUE(
        browse.out.contains(QStringLiteral("Zentaro RM42_PIR  program ID 8003DB5500040421")));

    const ProcessResult device = runProgram(
        QStringLiteral("lns-host"),
        {QStringLiteral("browse"), QStringLiteral("Demo Building"), QStringLiteral("Floor 1/RTU-1"),
         QStringLiteral("--units"), QStringLiteral("SI")});
    ASSERT_EQ(device.exitCode, 0) << device.err.toStdString();
    EXPECT_TRUE(device.out.contains(QStringLiteral("SNVT_temp_setpt#SI: 22.22,")));
    EXPECT_TRUE(device.out.contains(QStringLiteral("SNVT_str_asc#SI: Floor 1 North Office")));
}

TEST(LnsHost, SetupKeepsAnExistingLayoutUnlessForced) {
    TempPlatformRoot root;
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    const QString marker = root.path() + QStringLiteral("/LonWorks/mine.txt");
    QFile(marker).open(QIODevice::WriteOnly);
    EXPECT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup"), QStringLiteral("--force")})
            .exitCode,
        0);
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(LnsHost, SetupTakesTheKitLnsKitDirNamesAndKeepsTheOldFolderWhenThatKitIsMissing) {
    TempPlatformRoot root;
    const QString kit = root.path() + QStringLiteral("/my-kit");
    copyFromKit(QStringLiteral("Types"), kit + QStringLiteral("/Types"));
    QFile(kit + QStringLiteral("/mine.txt")).open(QIODevice::WriteOnly);
    qputenv("LNS_KIT_DIR", kit.toUtf8());
    const ProcessResult own = runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")});
    EXPECT_EQ(own.exitCode, 0) << own.err.toStdString();
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    EXPECT_TRUE(QFile::exists(lonWorks + QStringLiteral("/mine.txt")));
    EXPECT_TRUE(QFileInfo(lonWorks + QStringLiteral("/bin/XIF32BIN")).isExecutable());

    qputenv("LNS_KIT_DIR", QByteArray("/nonexistent/kit"));
    const ProcessResult missing = runProgram(QStringLiteral("lns-host"),
                                             {QStringLiteral("setup"), QStringLiteral("--force")});
    qunsetenv("LNS_KIT_DIR");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("/nonexistent/kit")))
        << missing.err.toStdString();
    EXPECT_TRUE(QFile::exists(lonWorks + QStringLiteral("/mine.txt")));
}

TEST(LnsHost, BrowseReportsFailuresAndGoesOnPastABadProperty) {
    TempPlatformRoot root;
    const ProcessResult early = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("browse"), QStringLiteral("Demo Building")});
    EXPECT_EQ(early.exitCode, 1);
    EXPECT_TRUE(early.err.contains(QStringLiteral("lns-host setup"))) << early.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.settingsStoreFile())) << "a read makes no store";

    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    const ProcessResult silent = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("browse"), QStringLiteral("Demo Building"),
                                     QStringLiteral("Floor 3/RTU-3")});
    EXPECT_EQ(silent.exitCode, 0);
    EXPECT_EQ(silent.out.count(QStringLiteral("(0x80044718)")), 13) << silent.out.toStdString();
    EXPECT_TRUE(silent.out.contains(QStringLiteral("NV 4 \"nvoEffectSetpt\"")));

    const ProcessResult unknown = runProgram(QStringLiteral("lns-host"),
                                             {QStringLiteral("browse"), QStringLiteral("Nowhere")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("frobnicate")}).exitCode, 2);
}

TEST(LnsHost, ExportWritesTheNetworkBackInTheLayoutOfItsDescription) {
    TempPlatformRoot root;
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    QFile description(QStringLiteral(RM42_KIT_DIR "/Databases/Demo Building/network.json"));
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    const QString kitText = QString::fromUtf8(description.readAll());
    const ProcessResult exported = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("export"), QStringLiteral("Demo Building")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, kitText);

    OpenDemo(root.path() + QStringLiteral("/LonWorks"))
        .property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"), QStringLiteral("nciLocation"))
        ->setFormattedElement(0, QStringLiteral("Lobby"));
    const QString file = root.path() + QStringLiteral("/demo.json");
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"),
                         {QStringLiteral("export"), QStringLiteral("Demo Building"), file})
                  .exitCode,
              0);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList after = QString::fromUtf8(written.readAll()).split(u'\n');
    const QStringList before = kitText.split(u'\n');
    ASSERT_EQ(after.size(), before.size());
    QStringList changed;
    for (qsizetype line = 0; line < after.size(); ++line) {
        if (after[line] != before[line])
            changed << after[line].trimmed();
    }
    EXPECT_EQ(changed,
              QStringList{QStringLiteral("\"4c6f62627900000000000000000000000000000000000000"
                                         "00000000000000\"")});

    EXPECT_EQ(runProgram(QStringLiteral("lns-host"),
                         {QStringLiteral("export"), QStringLiteral("Nowhere")})
                  .exitCode,
              1);
}

TEST(LnsHost, SetupRefusesABadNetworkDescriptionNamingItAndTheField) {
    TempPlatformRoot root;
    const QString kit = root.path() + QStringLiteral("/kit");
    copyFromKit(QString(), kit);
    const QString file = kit + QStringLiteral("/Databases/New Site/network.json");
    QFile description(file);
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    QByteArray content = description.readAll();
    description.close();
    content.replace("\"managementMode\"", "\"managementMood\"");
    ASSERT_TRUE(description.open(QIODevice::WriteOnly | QIODevice::Truncate));
    description.write(content);
    description.close();

    qputenv("LNS_KIT_DIR", kit.toUtf8());
    const ProcessResult setup = runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")});
    qunsetenv("LNS_KIT_DIR");
    EXPECT_EQ(setup.exitCode, 1);
    EXPECT_TRUE(setup.err.contains(file + QStringLiteral(": field \"systems[0].managementMode\" is "
                                                         "missing")))
        << setup.err.toStdString();
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    EXPECT_EQ(description.readAll(), content);
    EXPECT_FALSE(QFileInfo::exists(root.path() + QStringLiteral("/LonWorks")));
    EXPECT_EQ(QDir(kit + QStringLiteral("/Databases/New Site")).entryList(QDir::Files),
              QStringList{QStringLiteral("network.json")});
}

TEST(LnsHost, EveryProgramRefusesANetworkNameThatIsNoFolderOfTheDatabases) {
    TempPlatformRoot root;
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    copyFromKit(QStringLiteral("Databases/New Site/network.json"),
                lonWorks + QStringLiteral("/network.json"));
    for (const QString& name : {QStringLiteral(".."), QStringLiteral("../Databases/New Site")}) {
        for (const ProcessResult& refused :
             {runProgram(QStringLiteral("lns-host"), {QStringLiteral("export"), name}),
              runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), name}),
              runProgram(QStringLiteral("rm42-config"),
                         {QStringLiteral("show"), name, QStringLiteral("RTU-1")})}) {
            EXPECT_NE(refused.exitCode, 0);
            EXPECT_TRUE(refused.err.contains(QStringLiteral("\"") + name +
                                             QStringLiteral("\" is not a network name")))
                << refused.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(lonWorks + QStringLiteral("/network.sqlite3")));
}
