// SPDX-License-Identifier: Apache-2.0
// Registration from the command line and commands 50 and 51 from the host,
// over the real programs and a fresh platform root.
#include "TestEnvironment.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");
const QString PlugInKey =
    QStringLiteral("HKLM\\SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Zentaro PIR ready RM42xx Configure");
const QString ClassKey = QStringLiteral("HKCR\\RM42xxPirConfigure.LNSPlugInAPI");
const QString DeviceCommand =
    QStringLiteral(
        "\"Zentaro PIR ready RM42xx Device Configure\"  command 13  class 7  %1  default action")
        .arg(ProgId);

class RegistrationProcess : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("RM42_UNATTENDED", "1");
        qputenv("LNS_SIM_JOURNAL", journalFile().toUtf8());
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    }
    void TearDown() override {
        qunsetenv("RM42_UNATTENDED");
        qunsetenv("LNS_SIM_JOURNAL");
    }

    QString journalFile() const { return root.path() + QStringLiteral("/journal.txt"); }
    QString lonWorks() const { return root.path() + QStringLiteral("/LonWorks"); }

    bool keyExists(const QString& key) {
        return runProgram(QStringLiteral("lns-reg"), {QStringLiteral("query"), key}).exitCode == 0;
    }

    // The class registration is done by a child that registration does not wait for.
    bool waitForKey(const QString& key, bool present) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (keyExists(key) == present)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    ProcessResult plugIn(const QStringList& arguments) {
        return runProgram(QStringLiteral("RM42xxPirConfigure"), arguments);
    }

    QStringList host(const QString& network, const QStringList& calls) {
        QString script = QStringLiteral("create\nset networkName \"%1\"\n").arg(network);
        for (const QString& call : calls)
            script += call + QLatin1Char('\n');
        script += QStringLiteral("release\n");
        const ProcessResult result =
            runProgram(QStringLiteral("lns-host"),
                       {QStringLiteral("run"), ProgId, QStringLiteral("-")}, script.toUtf8());
        EXPECT_FALSE(result.crashed) << result.err.toStdString();
        lastErr = result.err;
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_EQ(lines.value(1), QStringLiteral("ok"))
            << "the network did not open: " << result.err.toStdString();
        return lines.mid(2, lines.size() - 3); // the calls between opening and release
    }

    // Every line the host prints for a script of its own.
    QStringList hostScript(const QString& script) {
        const ProcessResult result =
            runProgram(QStringLiteral("lns-host"),
                       {QStringLiteral("run"), ProgId, QStringLiteral("-")}, script.toUtf8());
        EXPECT_FALSE(result.crashed) << result.err.toStdString();
        lastErr = result.err;
        return result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString browse(const QString& network) {
        return runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), network}).out;
    }

    void registerPlugIn() {
        ASSERT_EQ(plugIn({QStringLiteral("/regplugin")}).exitCode, 0);
        ASSERT_TRUE(waitForKey(ClassKey, true));
    }

    TempPlatformRoot root;
    QString lastErr;
};

// The host may start the plug-in at once: the class is there when /regplugin ends.
TEST_F(RegistrationProcess, RegpluginEndsOnlyOnceTheClassIsRecorded) {
    ASSERT_EQ(plugIn({QStringLiteral("/regplugin")}).exitCode, 0);
    EXPECT_TRUE(keyExists(ClassKey));
}

TEST_F(RegistrationProcess, RegpluginWritesThePlugInKeyAndTheClass) {
    registerPlugIn();
    const ProcessResult query =
        runProgram(QStringLiteral("lns-reg"), {QStringLiteral("query"), PlugInKey});
    const QStringList lines = query.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11) << query.out.toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("    (Default)    REG_SZ    ") + ProgId);
    EXPECT_EQ(lines[10], QStringLiteral("    SingleInstance    REG_SZ    1"));
    const ProcessResult plugins =
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("plugins")});
    EXPECT_TRUE(plugins.out.contains(ProgId)) << plugins.out.toStdString();
}

TEST_F(RegistrationProcess, MinimalDeregistrationOpensNoObjectServer) {
    registerPlugIn();
    QFile::remove(journalFile());
    ASSERT_EQ(plugIn({QStringLiteral("/deregplugin"), QStringLiteral("/deregmode:-1")}).exitCode,
              0);
    EXPECT_FALSE(keyExists(PlugInKey));
    EXPECT_TRUE(waitForKey(ClassKey, false));
    EXPECT_FALSE(QFile::exists(journalFile())) << "the Object Server was used";
}

TEST_F(RegistrationProcess, CommandFiftyImportsTheTemplateAndRegistersTheCommands) {
    registerPlugIn();
    EXPECT_EQ(host(QStringLiteral("New Site"), {QStringLiteral("call SendCommand 50 0 \"\"")}),
              QStringList{QStringLiteral("ok")})
        << lastErr.toStdString();
    EXPECT_TRUE(QFile::exists(lonWorks() + QStringLiteral("/Import/Zentaro/RM42xx.XFB")));
    const QString site = browse(QStringLiteral("New Site"));
    EXPECT_TRUE(site.contains(QStringLiteral("Zentaro RM42_PIR  program ID 8003DB5500040421")))
        << site.toStdString();
    EXPECT_TRUE(site.contains(DeviceCommand)) << site.toStdString();
    QFile catalog(lonWorks() + QStringLiteral("/Types/catalog.json"));
    ASSERT_TRUE(catalog.open(QIODevice::ReadOnly));
    EXPECT_TRUE(catalog.readAll().contains("User/Zentaro"));

    // Again: the same component applications, updated in place.
    EXPECT_EQ(host(QStringLiteral("New Site"), {QStringLiteral("call SendCommand 50 0 \"\"")}),
              QStringList{QStringLiteral("ok")});
    EXPECT_EQ(browse(QStringLiteral("New Site")).count(DeviceCommand), 1);
}

TEST_F(RegistrationProcess, ATemplateThatCannotBeImportedFailsTheCommandAndIsRemoved) {
    registerPlugIn();
    QFile xif(lonWorks() + QStringLiteral("/Import/Zentaro/RM42xx.XIF"));
    ASSERT_TRUE(xif.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = xif.readAll().split('\n');
    xif.close();
    ASSERT_TRUE(xif.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // The header and the program ID on line 5 kept, the interface replaced.
    xif.write(lines.mid(0, 5).join('\n') + "\nthis is not an interface description\n");
    xif.close();
    // A binary form already beside it: the converter is not asked, the import fails.
    QFile xfb(lonWorks() + QStringLiteral("/Import/Zentaro/RM42xx.XFB"));
    ASSERT_TRUE(xfb.open(QIODevice::WriteOnly));
    xfb.close();

    EXPECT_EQ(host(QStringLiteral("New Site"), {QStringLiteral("call SendCommand 50 0 \"\"")}),
              QStringList{QStringLiteral("error 20000 Zentaro PIR ready RM42xx Configure: Unable "
                                         "to register Supported Commands")});
    EXPECT_TRUE(lastErr.contains(QStringLiteral("Could not import the external interface file")))
        << lastErr.toStdString();
    EXPECT_FALSE(browse(QStringLiteral("New Site")).contains(QStringLiteral("Zentaro RM42_PIR")));
}

TEST_F(RegistrationProcess, CommandFiftyOneAndDeregistrationRemoveTheCommands) {
    registerPlugIn();
    for (const QString& network : {QStringLiteral("New Site"), QStringLiteral("Demo Building")})
        ASSERT_EQ(host(network, {QStringLiteral("call SendCommand 50 0 \"\"")}),
                  QStringList{QStringLiteral("ok")})
            << lastErr.toStdString();

    EXPECT_EQ(host(QStringLiteral("New Site"), {QStringLiteral("call SendCommand 51 0 \"\"")}),
              QStringList{QStringLiteral("ok")});
    // The command whose save failed is not there.
    EXPECT_FALSE(browse(QStringLiteral("New Site")).contains(QStringLiteral("class 7  ") + ProgId));
    EXPECT_TRUE(browse(QStringLiteral("Demo Building")).contains(DeviceCommand));

    ASSERT_EQ(plugIn({QStringLiteral("/deregplugin")}).exitCode, 0);
    EXPECT_FALSE(browse(QStringLiteral("Demo Building")).contains(ProgId));
    EXPECT_FALSE(keyExists(PlugInKey));
    EXPECT_TRUE(waitForKey(ClassKey, false));
}

TEST_F(RegistrationProcess, RegisterAndRemoveWithoutANetworkFailCleanlyAndThePlugInAnswersOn) {
    registerPlugIn();
    ASSERT_EQ(host(QStringLiteral("Demo Building"), {QStringLiteral("call SendCommand 50 0 \"\"")}),
              QStringList{QStringLiteral("ok")})
        << lastErr.toStdString();
    const QStringList lines = hostScript(QStringLiteral("create\n"
                                                        "call SendCommand 50 0 \"\"\n"
                                                        "call SendCommand 51 0 \"\"\n"
                                                        "get Name\n"
                                                        "release\n"));
    EXPECT_EQ(lines, (QStringList{"object 1",
                                  "error 20000 Zentaro PIR ready RM42xx Configure: Unable to "
                                  "register Supported Commands",
                                  "error 20000 Zentaro PIR ready RM42xx Configure: Unable to "
                                  "unregister Supported Commands",
                                  "\"Zentaro PIR ready RM42xx Configure\"", "ok"}))
        << lastErr.toStdString();
    // Both commands told the user why, and the removal touched no network.
    EXPECT_EQ(lastErr.count(QStringLiteral("No network is open.")), 2) << lastErr.toStdString();
    EXPECT_TRUE(browse(QStringLiteral("Demo Building")).contains(DeviceCommand));
}

TEST_F(RegistrationProcess, AfterAFailedNetworkOpenNoCommandActsOnTheNetworkBefore) {
    registerPlugIn();
    const QString device = QStringLiteral("Demo Building/System 1/Floor 1/RTU-1");
    const QStringList lines = hostScript(QStringLiteral("create\n"
                                                        "set networkName \"Demo Building\"\n"
                                                        "set networkName \"nope\"\n"
                                                        "call SendCommand 50 0 \"\"\n"
                                                        "call SendCommand 13 7 \"%1\"\n"
                                                        "get networkName\n"
                                                        "set networkName \"Demo Building\"\n"
                                                        "get networkName\n"
                                                        "release\n")
                                             .arg(device));
    const QString source = QStringLiteral("Zentaro PIR ready RM42xx Configure: ");
    EXPECT_EQ(lines, (QStringList{"object 1", "ok",
                                  "error 20006 " + source + "Cannot open the network nope",
                                  "error 20000 " + source + "Unable to register Supported Commands",
                                  "error 20005 " + source + "Object not found", "\"\"", "ok",
                                  "\"Demo Building\"", "ok"}))
        << lastErr.toStdString();
    EXPECT_FALSE(browse(QStringLiteral("Demo Building")).contains(ProgId));
}

TEST_F(RegistrationProcess, AFullDiskFailsCommandFiftyWithTheSystemsReason) {
    registerPlugIn();
    // "New Site" on a disk with room for what it holds and little more: the
    // host, the plug-in and the browser run in a private mount namespace
    // where the network's folder is a small tmpfs.
    const QString folder = lonWorks() + QStringLiteral("/Databases/New Site");
    const QString script = QStringLiteral("create\nset networkName \"New Site\"\n"
                                          "call SendCommand 50 0 \"\"\nrelease\n");
    QProcess shell;
    shell.start(QStringLiteral("unshare"),
                {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("cp -a \"$1\" \"$1.kept\" && "
                                "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 99\n"
                                "cp -a \"$1.kept/.\" \"$1/\" && rm -rf \"$1.kept\"\n"
                                "printf '%s' \"$4\" | \"$2\" run \"$3\" - || exit 98\n"
                                "echo '-- browse'\n"
                                "\"$2\" browse 'New Site'"),
                 QStringLiteral("sh"), folder, programPath(QStringLiteral("lns-host")), ProgId,
                 script});
    ASSERT_TRUE(endedInTime(shell));
    lastErr = QString::fromUtf8(shell.readAllStandardError());
    const QStringList out =
        QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // 99: the tmpfs could not be mounted; "unshare:" alone: the namespace was refused.
    if (shell.exitCode() == 99 || (out.isEmpty() && lastErr.startsWith(QStringLiteral("unshare:"))))
        GTEST_SKIP() << "no private mount namespace here";
    const qsizetype browsed = out.indexOf(QStringLiteral("-- browse"));
    ASSERT_GE(browsed, 3) << qPrintable(out.join(u'\n') + lastErr);
    EXPECT_EQ(out.value(2), QStringLiteral("error 20000 Zentaro PIR ready RM42xx Configure: "
                                           "Unable to register Supported Commands"));
    EXPECT_TRUE(lastErr.contains(QStringLiteral("Cannot save "))) << lastErr.toStdString();
    // SQLite names a full disk in its own words; a file write in the system's.
    EXPECT_TRUE(lastErr.contains(QStringLiteral("database or disk is full")) ||
                lastErr.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << lastErr.toStdString();
    EXPECT_FALSE(lastErr.contains(QStringLiteral("Unknown error"))) << lastErr.toStdString();
    // The command whose save failed is not there.
    EXPECT_FALSE(out.mid(browsed).join(u'\n').contains(QStringLiteral("class 7  ") + ProgId));
}

// With a remote Object Server and no folder of interface files known, the
// search starts at the root. Run where the root is a small tree of the
// test's own (a private mount namespace): a file reachable only through a
// link to a folder and one under /run are decoys, a file elsewhere is the
// device's.
TEST_F(RegistrationProcess, TheSearchFromTheRootTakesNoLinkEntersNoSystemTreeAndWritesOnlyHome) {
    registerPlugIn();
    const QString import = lonWorks() + QStringLiteral("/Import/Zentaro");
    QFile::rename(import + QStringLiteral("/RM42xx.XIF"), root.path() + QStringLiteral("/kit.txt"));
    QFile::remove(import + QStringLiteral("/RM42xx.XFB"));
    const QString script =
        QStringLiteral("create\nset NetworkInterfaceName \"RNI-1\"\nset networkName \"New Site\"\n"
                       "call SendCommand 50 0 \"\"\nrelease\n");
    const QString build = QFileInfo(binDir()).absolutePath();
    QProcess shell;
    shell.start(
        QStringLiteral("unshare"),
        {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral(
             "R=\"$1/newroot\"; mkdir \"$R\" && mount -t tmpfs tmpfs \"$R\" || exit 99\n"
             "set -e; cd \"$R\"\n"
             "mkdir .usr .etc proc dev; mount --rbind /usr .usr; mount --rbind /etc .etc\n"
             "mount --rbind /proc proc; mount --rbind /dev dev\n"
             "ln -s .usr usr; ln -s .etc etc; ln -s usr/bin bin; ln -s usr/lib lib\n"
             "ln -s usr/lib64 lib64\n"
             "for folder in \"$2/bin\" \"$2/libexec\" \"$1\"; do\n"
             "  mkdir -p \"$R$folder\"; mount --bind \"$folder\" \"$R$folder\"; done\n"
             "mkdir -p .hidden/decoy run/media/usb var/lib/devices\n"
             "cp \"$1/kit.txt\" var/lib/devices/RM42xx.XIF\n"
             "echo decoy >> \"$1/kit.txt\"\n"
             "cp \"$1/kit.txt\" .hidden/decoy/RM42xx.XIF; ln -s ../.hidden/decoy tmp/linked\n"
             "cp \"$1/kit.txt\" run/media/usb/RM42xx.XIF\n"
             "printf '<fontconfig><dir>/usr/share/fonts</dir><cachedir>%s</cachedir>"
             "</fontconfig>' \"$1/fonts\" > \"$1/fonts.conf\"\n"
             "export FONTCONFIG_FILE=\"$1/fonts.conf\"\n"
             "touch .before; sleep 1\n"
             "printf '%s' \"$4\" | chroot . \"$2/bin/lns-host\" run \"$3\" -\n"
             "echo '-- written'\n"
             "find . -xdev -newer .before \\( -type f -o -type l \\) -print"),
         QStringLiteral("sh"), root.path(), build, ProgId, script});
    ASSERT_TRUE(endedInTime(shell));
    lastErr = QString::fromUtf8(shell.readAllStandardError());
    const QStringList out =
        QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (shell.exitCode() == 99 || (out.isEmpty() && lastErr.startsWith(QStringLiteral("unshare:"))))
        GTEST_SKIP() << "no private mount namespace here";
    const qsizetype written = out.indexOf(QStringLiteral("-- written"));
    ASSERT_EQ(written, 5) << qPrintable(out.join(u'\n') + lastErr);
    EXPECT_EQ(out.value(3), QStringLiteral("ok")) << qPrintable(lastErr);
    // Nothing new outside the platform root (a folder of its own, not the
    // tmpfs; the font cache is sent there too).
    EXPECT_EQ(out.mid(written + 1), QStringList()) << qPrintable(lastErr);
    QFile journal(journalFile());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QString calls = QString::fromUtf8(journal.readAll());
    const qsizetype imported = calls.indexOf(QStringLiteral("Import \""));
    ASSERT_GE(imported, 0) << qPrintable(lastErr);
    // The file found elsewhere, converted in the platform's import folder.
    EXPECT_TRUE(Paths::toNative(calls.mid(imported).section(u'"', 1, 1))
                    .startsWith(lonWorks() + QStringLiteral("/Import/8003DB5500040421/")))
        << qPrintable(calls.mid(imported, 200));
    EXPECT_TRUE(QFile::exists(lonWorks() + QStringLiteral("/Import/8003DB5500040421/RM42xx.XFB")));
    QFile copy(lonWorks() + QStringLiteral("/Import/8003DB5500040421/RM42xx.XIF"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_FALSE(copy.readAll().contains("decoy"));
}

} // namespace
