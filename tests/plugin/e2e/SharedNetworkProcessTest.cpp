// SPDX-License-Identifier: Apache-2.0
// Commands 50 and 51 from the host while other processes use the same
// network, and what a plug-in killed in the middle of command 50 leaves.
#include "OpenDemo.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");
const QString ClassKey = QStringLiteral("HKCR\\RM42xxPirConfigure.LNSPlugInAPI");
const QString TemplateName = QStringLiteral("Zentaro RM42_PIR");
const QString ProgramId = QStringLiteral("8003DB5500040421");

class SharedNetworkProcess : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("RM42_UNATTENDED", "1");
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        ASSERT_EQ(runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regplugin")})
                      .exitCode,
                  0);
        // The class registration is done by a child that registration does not wait for.
        for (int attempt = 0; attempt < 100 && !classRegistered(); ++attempt)
            QThread::msleep(50);
        ASSERT_TRUE(classRegistered());
    }
    void TearDown() override { qunsetenv("RM42_UNATTENDED"); }

    bool classRegistered() {
        return runProgram(QStringLiteral("lns-reg"), {QStringLiteral("query"), ClassKey})
                   .exitCode == 0;
    }

    QString lonWorks() const { return root.path() + QStringLiteral("/LonWorks"); }

    static QByteArray commandScript(const QString& network, int command) {
        return QStringLiteral("create\nset networkName \"%1\"\n"
                              "call SendCommand %2 0 \"\"\nrelease\n")
            .arg(network)
            .arg(command)
            .toUtf8();
    }

    // The host's answer to the command, from the lines it printed.
    static QString answer(const QString& out, const QString& err) {
        const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.value(1) != QStringLiteral("ok"))
            return QStringLiteral("the network did not open: ") + out + err;
        return lines.size() > 2 ? lines[2] : err;
    }

    // The host's answer to one command.
    QString sendCommand(const QString& network, int command) {
        const ProcessResult result = runProgram(
            QStringLiteral("lns-host"), {QStringLiteral("run"), ProgId, QStringLiteral("-")},
            commandScript(network, command));
        return answer(result.out, result.err);
    }

    // The network holds one template of the thermostat, with one component
    // application per command and none made twice.
    void expectOneTemplateWithItsTwoCommands(const QString& network) {
        OpenDemo made(lonWorks(), network);
        const auto templates = made.system->TemplateLibrary()->DeviceTemplates();
        ASSERT_EQ(templates->Count(), 1);
        const auto thermostat = templates->Item(1);
        EXPECT_EQ(thermostat->Name().toStdString(), TemplateName.toStdString());
        QStringList commands;
        for (const auto& apps :
             {thermostat->ComponentApps(),
              thermostat->Interface()->LonMarkObjects()->Item(1)->ComponentApps()}) {
            for (int index = 1; index <= apps->Count(); ++index)
                commands << apps->Item(index)->Name();
        }
        EXPECT_EQ(commands.size(), 2) << commands.join(u',').toStdString();
        EXPECT_TRUE(commands.filter(QStringLiteral(" (")).isEmpty())
            << commands.join(u',').toStdString();
    }

    TempPlatformRoot root;
};

TEST_F(SharedNetworkProcess, CommandFiftyOneWhileAnotherProcessHoldsTheNetworkStaysDone) {
    ASSERT_EQ(sendCommand(QStringLiteral("Demo Building"), 50), QStringLiteral("ok"));
    OpenDemo holder(lonWorks(), QStringLiteral("Demo Building"));
    const auto location = holder.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                                          QStringLiteral("nciLocation"));
    const auto apps =
        holder.system->TemplateLibrary()->DeviceTemplates()->Item(ProgramId)->ComponentApps();
    ASSERT_GT(apps->Count(), 0);
    location->setFormattedElement(0, QStringLiteral("Before"));

    ASSERT_EQ(sendCommand(QStringLiteral("Demo Building"), 51), QStringLiteral("ok"));
    EXPECT_EQ(apps->Count(), 0) << "seen by the process that held the network";
    location->setFormattedElement(0, QStringLiteral("After"));

    const QString site = runProgram(QStringLiteral("lns-host"),
                                    {QStringLiteral("browse"), QStringLiteral("Demo Building")})
                             .out;
    EXPECT_TRUE(site.contains(TemplateName)) << site.toStdString();
    EXPECT_FALSE(site.contains(ProgId)) << site.toStdString();
}

// A template appears with its import, a component application with its
// command ID; a rerun finds both and makes no second one.
TEST_F(SharedNetworkProcess,
       CommandFiftyKilledAtAnyCallLeavesAWholeTemplateOrNoneAndARerunMakesOne) {
    const QString site = lonWorks() + QStringLiteral("/Databases/New Site");
    // Without its database the network is loaded again from its description.
    const auto freshNetwork = [&] {
        for (const QString& file : QDir(site).entryList({QStringLiteral("network.sqlite3*")}))
            QFile::remove(site + u'/' + file);
    };
    const QString journal = root.path() + QStringLiteral("/journal.txt");
    qputenv("LNS_SIM_JOURNAL", journal.toUtf8());
    ASSERT_EQ(sendCommand(QStringLiteral("New Site"), 50), QStringLiteral("ok"));
    qunsetenv("LNS_SIM_JOURNAL");
    QFile calls(journal);
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    const int callCount = static_cast<int>(calls.readAll().count('\n'));
    ASSERT_GT(callCount, 20);

    for (int call = 1; call <= callCount; ++call) {
        SCOPED_TRACE(call);
        freshNetwork();
        qputenv("LNS_SIM_KILL_AT_CALL", QByteArray::number(call));
        sendCommand(QStringLiteral("New Site"), 50);
        qunsetenv("LNS_SIM_KILL_AT_CALL");
        {
            OpenDemo left(lonWorks(), QStringLiteral("New Site"));
            const auto templates = left.system->TemplateLibrary()->DeviceTemplates();
            ASSERT_LE(templates->Count(), 1);
            if (templates->Count() == 1) {
                const auto kept = templates->Item(1);
                EXPECT_EQ(kept->Name().toStdString(), TemplateName.toStdString());
                EXPECT_EQ(kept->ProgramId().toStdString(), ProgramId.toStdString());
                EXPECT_EQ(kept->Interface()->LonMarkObjects()->Item(1)->ConfigProperties()->Count(),
                          12);
            }
        }
        ASSERT_EQ(sendCommand(QStringLiteral("New Site"), 50), QStringLiteral("ok"));
        expectOneTemplateWithItsTwoCommands(QStringLiteral("New Site"));
    }
}

TEST_F(SharedNetworkProcess,
       CommandFiftyFromTwoProcessesAtOnceMakesOneTemplateAndOneOfEachCommand) {
    for (const QString& network : {QStringLiteral("New Site"), QStringLiteral("Demo Building")}) {
        SCOPED_TRACE(network.toStdString());
        std::vector<std::unique_ptr<QProcess>> hosts;
        for (int host = 0; host < 2; ++host) {
            auto process = std::make_unique<QProcess>();
            process->start(programPath(QStringLiteral("lns-host")),
                           {QStringLiteral("run"), ProgId, QStringLiteral("-")});
            hosts.push_back(std::move(process));
        }
        // Both scripts are written before either host is waited for.
        for (const auto& process : hosts) {
            ASSERT_TRUE(process->waitForStarted());
            process->write(commandScript(network, 50));
            process->closeWriteChannel();
        }
        for (const auto& process : hosts) {
            ASSERT_TRUE(process->waitForFinished(120000));
            EXPECT_EQ(answer(QString::fromUtf8(process->readAllStandardOutput()),
                             QString::fromUtf8(process->readAllStandardError())),
                      QStringLiteral("ok"));
        }
        expectOneTemplateWithItsTwoCommands(network);
    }
}

} // namespace
