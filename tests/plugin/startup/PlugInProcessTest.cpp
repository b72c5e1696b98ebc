// SPDX-License-Identifier: Apache-2.0
// The plug-in program driven by lns-host over two real processes.
#include "TestEnvironment.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");
const QString Source = QStringLiteral("Zentaro PIR ready RM42xx Configure");
const QString Device = QStringLiteral("Demo Building/System 1/Floor 1/RTU-1");

class PlugInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        m_journal = m_root.path() + QStringLiteral("/journal.txt");
        qputenv("LNS_SIM_JOURNAL", m_journal.toUtf8());
        qputenv("RM42_UNATTENDED", "1");
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        ASSERT_EQ(runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regserver")})
                      .exitCode,
                  0);
    }
    void TearDown() override {
        qunsetenv("LNS_SIM_JOURNAL");
        qunsetenv("RM42_UNATTENDED");
    }

    ProcessResult run(const QString& script) {
        return runProgram(QStringLiteral("lns-host"),
                          {QStringLiteral("run"), ProgId, QStringLiteral("-")}, script.toUtf8());
    }

    QStringList outputLines(const QString& script) {
        const ProcessResult result = run(script);
        EXPECT_FALSE(result.crashed) << result.err.toStdString();
        m_lastErr = result.err;
        return result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList journal() const {
        QFile file(m_journal);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        // The window listens to the server's events from its start to its end.
        QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeAll(QStringLiteral("ObjectServer.setEventListener"));
        return lines;
    }

    // The journal from the first network open to the timing setting after it.
    QStringList networkOpening() const {
        const QStringList lines = journal();
        const qsizetype end = lines.indexOf(QStringLiteral("System.setTimingSetting 200"));
        return end < 0 ? lines : lines.mid(0, end + 1);
    }

    QString errorLine(int number, const QString& description) const {
        return QStringLiteral("error %1 %2: %3").arg(number).arg(Source, description);
    }

    TempPlatformRoot m_root;
    QString m_journal;
    QString m_lastErr;
};

TEST_F(PlugInProcess, ConfigureCommandsReachTheWindowOrReportWhyNot) {
    const QStringList lines =
        outputLines(QStringLiteral("create\n"
                                   "set networkName \"Demo Building\"\n"
                                   "call SendCommand 13 7 \"%1\"\n"
                                   "call SendCommand 13 28 \"%1/Obj:Thermostat\"\n"
                                   "call SendCommand 13 28 \"%1/Thermostat\"\n"
                                   "call SendCommand 13 5 \"%1\"\n"
                                   "call SendCommand 99 7 \"%1\"\n"
                                   "call SendCommand 13 7 \"RTU-1\"\n"
                                   "call SendCommand 13 7 \"%1-missing\"\n"
                                   "get networkName\n"
                                   "release\n")
                        .arg(Device));
    EXPECT_EQ(lines,
              (QStringList{"object 1", "ok", "ok", "ok", "ok",
                           errorLine(20004, "Object type not supported for this command"),
                           errorLine(20003, "Command not supported"),
                           errorLine(20005, "Object not found"),
                           errorLine(20005, "Object not found"), "\"Demo Building\"", "ok"}));
    // The device and both forms of its LonMark object were opened in the window.
    EXPECT_EQ(journal().count(QStringLiteral("AppDevice.State \"RTU-1\"")), 3);
    EXPECT_TRUE(journal().contains(QStringLiteral("LonMarkObjects.Item \"Thermostat\"")));
}

TEST_F(PlugInProcess, AnUnknownNetworkIsReportedAndTheNextWriteRetries) {
    const QStringList lines = outputLines(QStringLiteral("create\n"
                                                         "set networkName \"Nowhere\"\n"
                                                         "get networkName\n"
                                                         "set networkName \"Demo Building\"\n"
                                                         "get networkName\n"));
    EXPECT_EQ(lines, (QStringList{"object 1", errorLine(20006, "Cannot open the network Nowhere"),
                                  "\"\"", "ok", "\"Demo Building\""}));
    // The Object Server's own reason goes to standard error.
    EXPECT_TRUE(m_lastErr.contains(QStringLiteral("cannot open the network Nowhere: ")))
        << m_lastErr.toStdString();
}

TEST_F(PlugInProcess, LocalNetworkOpensInOrderAndOnlyOnce) {
    outputLines(QStringLiteral(
        "create\nset NetworkInterfaceName \"\"\n"
        "set networkName \"Demo Building\"\nset networkName \"Demo Building\"\nrelease\n"));
    const QStringList expected{
        "ObjectServer.Remote", "ObjectServer.IsOpen", "ObjectServer.setAutoOpen false",
        "ObjectServer.Open", "ObjectServer.Networks", "Networks.Item \"Demo Building\"",
        "Network.Open \"Demo Building\"", "Network.Name", "Network.Systems", "Systems.Item 1",
        "System.Open \"System 1\"", "System.setTimingSetting 200",
        // the second write calls nothing; the release ends the plug-in
        "System.IsOpen", "System.Close \"System 1\"", "Network.IsOpen",
        "Network.Close \"Demo Building\"", "ObjectServer.IsOpen", "ObjectServer.Close"};
    EXPECT_EQ(journal(), expected);
}

TEST_F(PlugInProcess, RemoteNetworkSelectsItsInterface) {
    outputLines(QStringLiteral(
        "create\nset NetworkInterfaceName RNI-1\nset networkName \"Demo Building\"\n"));
    const QStringList expected{"ObjectServer.Remote",
                               "ObjectServer.IsOpen",
                               "ObjectServer.setRemote true",
                               "ObjectServer.IsOpen",
                               "ObjectServer.setAutoOpen false",
                               "ObjectServer.Flags",
                               "ObjectServer.setFlags 32",
                               "ObjectServer.Open",
                               "ObjectServer.RemoteNetworkInterfaces",
                               "NetworkInterfaces.Item \"RNI-1\"",
                               "NetworkInterface.Name",
                               "ObjectServer.setActiveRemoteNetworkInterface \"RNI-1\"",
                               "ObjectServer.Networks",
                               "Networks.Item \"Demo Building\"",
                               "Network.Open \"Demo Building\"",
                               "Network.Name",
                               "Network.Systems",
                               "Systems.Item 1",
                               "System.Open \"System 1\"",
                               "System.setTimingSetting 200"};
    EXPECT_EQ(networkOpening(), expected);
}

TEST_F(PlugInProcess, InternetNetworkTakesTheInternetPath) {
    outputLines(QStringLiteral(
        "create\nset NetworkInterfaceName Internet\nset networkName \"Demo Building\"\n"));
    const QStringList expected{"ObjectServer.Remote",
                               "ObjectServer.IsOpen",
                               "ObjectServer.setRemote true",
                               "ObjectServer.IsOpen",
                               "ObjectServer.setAutoOpen false",
                               "ObjectServer.Flags",
                               "ObjectServer.setFlags 16",
                               "ObjectServer.Open",
                               "ObjectServer.Networks",
                               "Networks.Item \"Demo Building\"",
                               "Network.Open \"Demo Building\"",
                               "Network.Name",
                               "Network.Systems",
                               "Systems.Item 1",
                               "System.Open \"System 1\"",
                               "System.setInternetPathOption true",
                               "System.InternetPathOperation 0",
                               "System.setInternetPathOption false",
                               "System.setTimingSetting 200"};
    EXPECT_EQ(networkOpening(), expected);
}

TEST_F(PlugInProcess, NetworksOpenOneAfterAnotherOverEveryKindOfConnection) {
    const QStringList lines = outputLines(QStringLiteral("create\n"
                                                         "set networkName \"Demo Building\"\n"
                                                         "set NetworkInterfaceName RNI-1\n"
                                                         "set networkName \"New Site\"\n"
                                                         "set NetworkInterfaceName Internet\n"
                                                         "set networkName \"Demo Building\"\n"
                                                         "set NetworkInterfaceName \"\"\n"
                                                         "set networkName \"New Site\"\n"
                                                         "get networkName\n"));
    EXPECT_EQ(lines,
              (QStringList{"object 1", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "\"New Site\""}))
        << m_lastErr.toStdString();
    const QStringList calls = journal();
    // "Internet" is a kind of connection, not a remote network interface.
    EXPECT_FALSE(calls.contains(QStringLiteral("NetworkInterfaces.Item \"Internet\"")));
    EXPECT_EQ(calls.count(QStringLiteral("System.InternetPathOperation 0")), 1);
    EXPECT_EQ(calls.count(QStringLiteral("ObjectServer.setActiveRemoteNetworkInterface \"RNI-1\"")),
              1);
}

TEST_F(PlugInProcess, NormalUseLeavesStandardErrorFreeOfPlatformNoise) {
    const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QStringList lines = outputLines(QStringLiteral("create\n"
                                                         "set networkName \"Demo Building\"\n"
                                                         "call SendCommand 13 7 \"%1\"\n"
                                                         "set Visible true\n"
                                                         "set Visible false\n"
                                                         "release\n")
                                              .arg(Device));
    if (!runtimeFolder.isEmpty())
        qputenv("XDG_RUNTIME_DIR", runtimeFolder);
    EXPECT_EQ(lines, (QStringList{"object 1", "ok", "ok", "ok", "ok", "ok"}));
    EXPECT_FALSE(m_lastErr.contains(QStringLiteral("XDG_RUNTIME_DIR"))) << m_lastErr.toStdString();
    EXPECT_FALSE(m_lastErr.contains(QStringLiteral("propagateSizeHints")))
        << m_lastErr.toStdString();
}

TEST_F(PlugInProcess, ARemoteInterfaceThatDoesNotExistFailsTheOpen) {
    const QStringList lines = outputLines(QStringLiteral(
        "create\nset NetworkInterfaceName RNI-9\nset networkName \"Demo Building\"\n"));
    EXPECT_EQ(lines.value(2), errorLine(20006, "Cannot open the network Demo Building"));
}

TEST_F(PlugInProcess, PropertiesTravelWithTheirTypesAndErrors) {
    const QStringList lines =
        outputLines(QStringLiteral("create\n"
                                   "get Name\n"
                                   "get LcaVersion\n"
                                   "set Name \"Other\"\n"
                                   "set DevelopmentProgramId \"8003DB550004042\"\n"
                                   "get DevelopmentProgramId\n"
                                   "set Minimized true\n"
                                   "get Minimized\n"
                                   "get Visible\n"));
    EXPECT_EQ(
        lines,
        (QStringList{"object 1", "\"" + Source + "\"", "\"3.0\"",
                     errorLine(20002, "Attempt to write to read-only property"), "ok", "\"\"",
                     errorLine(20006, "Can not modify the minimzed property when invisble. The "
                                      "property will be applied the next time the plug-in is made "
                                      "visible"),
                     "true", "false"}));
}

TEST_F(PlugInProcess, HostToolListsTheRegisteredPlugIns) {
    {
        SettingsStore store(m_root.settingsStoreFile());
        const QString key = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\") + Source;
        store.setValue(Hive::LocalMachine, key, RegistryValue::string(QString(), ProgId));
        store.setValue(Hive::LocalMachine, key,
                       RegistryValue::string(QStringLiteral("Version"), "1.0.0"));
    }
    const ProcessResult result =
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("plugins")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, Source + "\t" + ProgId + "\t1.0.0\n");
}

TEST_F(PlugInProcess, HostToolRefusesAnUnregisteredClassAndABadScriptLine) {
    const ProcessResult unknown =
        runProgram(QStringLiteral("lns-host"),
                   {QStringLiteral("run"), QStringLiteral("No.Such"), QStringLiteral("-")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(
        unknown.err.contains(QStringLiteral("no automation class is registered for No.Such")));

    const ProcessResult bad = run(QStringLiteral("create\nfrobnicate\nget Version\n"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("script line 2: unknown verb \"frobnicate\"")));
    EXPECT_EQ(bad.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
}

TEST_F(PlugInProcess, HostToolEndsARequestThePlugInCannotReadWithItsErrorAndGoesOn) {
    const QString script = QStringLiteral("create\nset networkName \"%1\"\nget ManufacturerID\n")
                               .arg(QString(1100 * 1024, u'x'));
    const ProcessResult result =
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("run"), ProgId, QStringLiteral("-")},
                   script.toUtf8(), 30000);
    EXPECT_FALSE(result.crashed) << "still waiting";
    const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << result.err.toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("longer than"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("\"987\""));
}

// The plug-in alone, spoken to in its own protocol.
QList<QJsonObject> replies(const QByteArray& input, ProcessResult* result = nullptr) {
    const ProcessResult run =
        runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("-Embedding")}, input);
    if (result)
        *result = run;
    QList<QJsonObject> objects;
    for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        objects.append(QJsonDocument::fromJson(line.toUtf8()).object());
    return objects;
}

int errorNumber(const QJsonObject& reply) {
    return reply.value("error").toObject().value("number").toInt();
}

TEST_F(PlugInProcess, BadRequestsEachGetAnErrorAndServingGoesOn) {
    QByteArray input =
        "{\"id\":1,\"op\":\"create\"}\n"
        "this is not json\n"
        "{\"id\":3,\"op\":\"get\",\"object\":42,\"member\":\"Name\"}\n"
        "{\"id\":4,\"op\":\"get\",\"object\":1,\"member\":\"Colour\"}\n"
        "{\"id\":5,\"op\":\"set\",\"object\":1,\"member\":\"Visible\",\"args\":[\"yes\"]}\n"
        "{\"id\":6,\"op\":\"call\",\"object\":1,\"member\":\"SendCommand\",\"args\":[13,70000,"
        "\"x\"]}\n"
        "{\"id\":7,\"op\":\"call\",\"object\":1,\"member\":\"SendCommand\",\"args\":[13]}\n";
    input += "{\"id\":8,\"op\":\"set\",\"object\":1,\"member\":\"networkName\",\"args\":[\"";
    input += QByteArray(10 * 1024 * 1024, 'x');
    input += "\"]}\n{\"id\":9,\"op\":\"get\",\"object\":1,\"member\":\"ManufacturerID\"}\n";
    ProcessResult result;
    const QList<QJsonObject> answers = replies(input, &result);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(result.crashed);
    ASSERT_EQ(answers.size(), 9);
    EXPECT_EQ(answers[0].value("result").toObject().value("object").toInt(), 1);
    EXPECT_EQ(errorNumber(answers[1]), 5);
    EXPECT_TRUE(answers[1].value("id").isNull());
    EXPECT_EQ(errorNumber(answers[2]), 424);
    EXPECT_EQ(errorNumber(answers[3]), 438);
    EXPECT_EQ(errorNumber(answers[4]), 13);
    EXPECT_EQ(errorNumber(answers[5]), 6);
    EXPECT_EQ(errorNumber(answers[6]), 450);
    EXPECT_EQ(errorNumber(answers[7]), 5);
    EXPECT_TRUE(answers[7]
                    .value("error")
                    .toObject()
                    .value("description")
                    .toString()
                    .contains("longer than"));
    EXPECT_EQ(answers[8].value("id").toInt(), 9);
    EXPECT_EQ(answers[8].value("result").toString(), QStringLiteral("987"));
}

TEST_F(PlugInProcess, EndOfInputReleasesEveryObjectAndEndsAHiddenPlugIn) {
    ProcessResult result;
    const QList<QJsonObject> answers =
        replies("{\"id\":1,\"op\":\"create\"}\n{\"id\":2,\"op\":\"create\"}\n"
                "{\"id\":3,\"op\":\"set\",\"object\":2,\"member\":\"networkName\","
                "\"args\":[\"Demo Building\"]}\n",
                &result);
    EXPECT_EQ(answers.size(), 3);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(result.crashed);
    EXPECT_EQ(journal().last(), QStringLiteral("ObjectServer.Close"));
}

TEST_F(PlugInProcess, PipelinedRequestsAreAnsweredOnceEachInOrder) {
    // Commands let window events run while later requests are already waiting.
    QByteArray input = "{\"id\":0,\"op\":\"create\"}\n"
                       "{\"id\":1,\"op\":\"set\",\"object\":1,\"member\":\"networkName\",\"args\":["
                       "\"Demo Building\"]}\n";
    for (int id = 2; id < 40; id += 2) {
        input +=
            QStringLiteral("{\"id\":%1,\"op\":\"call\",\"object\":1,\"member\":\"SendCommand\","
                           "\"args\":[13,7,\"%2\"]}\n{\"id\":%3,\"op\":\"get\",\"object\":1,"
                           "\"member\":\"networkName\"}\n")
                .arg(id)
                .arg(Device)
                .arg(id + 1)
                .toUtf8();
    }
    const QList<QJsonObject> answers = replies(input);
    ASSERT_EQ(answers.size(), 40);
    for (int id = 0; id < 40; ++id) {
        EXPECT_EQ(answers[id].value("id").toInt(), id);
        EXPECT_FALSE(answers[id].contains("error")) << id;
    }
}

} // namespace
