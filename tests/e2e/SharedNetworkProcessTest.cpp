// Commands 50 and 51 from the host while other processes use the same
// network, and what a plug-in killed in the middle of command 50 leaves.
#include "OpenDemo.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

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

    // The host's answer to one command.
    QString sendCommand(const QString& network, int command) {
        const QString script = QStringLiteral("create\nset networkName \"%1\"\n"
                                              "call SendCommand %2 0 \"\"\nrelease\n")
                                   .arg(network)
                                   .arg(command);
        const ProcessResult result =
            runProgram(QStringLiteral("lns-host"),
                       {QStringLiteral("run"), ProgId, QStringLiteral("-")}, script.toUtf8());
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.size() > 2 ? lines[2] : result.err;
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
        OpenDemo rerun(lonWorks(), QStringLiteral("New Site"));
        const auto templates = rerun.system->TemplateLibrary()->DeviceTemplates();
        ASSERT_EQ(templates->Count(), 1);
        const auto made = templates->Item(1);
        EXPECT_EQ(made->Name().toStdString(), TemplateName.toStdString());
        QStringList commands;
        for (const auto& apps : {made->ComponentApps(),
                                 made->Interface()->LonMarkObjects()->Item(1)->ComponentApps()}) {
            for (int index = 1; index <= apps->Count(); ++index)
                commands << apps->Item(index)->Name();
        }
        EXPECT_EQ(commands.size(), 2) << commands.join(u',').toStdString();
        EXPECT_TRUE(commands.filter(QStringLiteral(" (")).isEmpty())
            << commands.join(u',').toStdString();
    }
}

} // namespace
