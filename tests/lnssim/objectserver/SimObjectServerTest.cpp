// SPDX-License-Identifier: Apache-2.0
#include "KitFolder.h"
#include "lns/LnsCodes.h"
#include "objectserver/Journal.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

using lns::Code::AlreadyExists;
using lns::Code::DeviceUnreachable;
using lns::Code::FormatFailed;
using lns::Code::NotFound;
using lns::Code::NotOpen;
using lns::Code::WriteFailed;

TEST(SimCollections, CountFromOneAndFindByNameOrFail) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto subsystems = demo.system->Subsystems();
    ASSERT_EQ(subsystems->Count(), 3);
    EXPECT_EQ(subsystems->Item(1)->Name(), QStringLiteral("Floor 1"));
    EXPECT_EQ(subsystems->Item(3)->Name(), QStringLiteral("Floor 3"));
    EXPECT_EQ(lnsCodeOf([&] { subsystems->Item(0); }), NotFound);
    EXPECT_EQ(lnsCodeOf([&] { subsystems->Item(4); }), NotFound);
    EXPECT_EQ(lnsCodeOf([&] { subsystems->Item(QStringLiteral("floor 1")); }), NotFound);
    EXPECT_EQ(lnsCodeOf([&] { demo.server.Networks()->Item(QStringLiteral("Nowhere")); }),
              NotFound);

    const auto objects = demo.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"))
                             ->Interface()
                             ->LonMarkObjects();
    EXPECT_EQ(objects->Item(QStringLiteral("0"))->Name(), QStringLiteral("Thermostat"));
    EXPECT_EQ(objects->Item(1)->TypeIndex(), 8500);
    const auto templates = demo.system->TemplateLibrary()->DeviceTemplates();
    EXPECT_EQ(templates->Item(QStringLiteral("8003DB5500040421"))->Name(),
              QStringLiteral("Zentaro RM42_PIR"));
}

TEST(SimObjectServer, ContentsNeedTheServerNetworkAndSystemOpen) {
    KitFolder kit;
    lns::sim::SimObjectServer server(kit.path());
    EXPECT_EQ(lnsCodeOf([&] { server.Networks(); }), NotOpen);
    server.Open();
    const auto network = server.Networks()->Item(QStringLiteral("Demo Building"));
    EXPECT_EQ(lnsCodeOf([&] { network->Systems(); }), NotOpen);
    network->Open();
    const auto system = network->Systems()->Item(1);
    EXPECT_EQ(lnsCodeOf([&] { system->Subsystems(); }), NotOpen);
    system->Open();
    EXPECT_TRUE(system->IsOpen());
    network->Close();
    EXPECT_FALSE(system->IsOpen());
    EXPECT_EQ(lnsCodeOf([&] { system->Open(); }), NotOpen);
}

TEST(SimObjectServer, JournalKeepsTheOrderOfANetworkOpening) {
    KitFolder kit;
    lns::sim::SimObjectServer server(kit.path());
    server.setRemote(true);
    server.setAutoOpen(false);
    server.setFlags((server.Flags() & ~0x30) | lns::ObjectServer::FlagRemoteInterface);
    server.Open();
    server.setActiveRemoteNetworkInterface(
        server.RemoteNetworkInterfaces()->Item(QStringLiteral("RNI-1")));
    const auto network = server.Networks()->Item(QStringLiteral("Demo Building"));
    network->Open();
    const auto system = network->Systems()->Item(1);
    system->Open();
    system->setInternetPathOption(true);
    system->InternetPathOperation(0);
    system->setInternetPathOption(false);
    system->setTimingSetting(200);
    const QStringList expected = {
        QStringLiteral("ObjectServer.setRemote true"),
        QStringLiteral("ObjectServer.setAutoOpen false"),
        QStringLiteral("ObjectServer.Flags"),
        QStringLiteral("ObjectServer.setFlags 32"),
        QStringLiteral("ObjectServer.Open"),
        QStringLiteral("ObjectServer.RemoteNetworkInterfaces"),
        QStringLiteral("NetworkInterfaces.Item \"RNI-1\""),
        QStringLiteral("NetworkInterface.Name"),
        QStringLiteral("ObjectServer.setActiveRemoteNetworkInterface \"RNI-1\""),
        QStringLiteral("ObjectServer.Networks"),
        QStringLiteral("Networks.Item \"Demo Building\""),
        QStringLiteral("Network.Open \"Demo Building\""),
        QStringLiteral("Network.Systems"),
        QStringLiteral("Systems.Item 1"),
        QStringLiteral("System.Open \"System 1\""),
        QStringLiteral("System.setInternetPathOption true"),
        QStringLiteral("System.InternetPathOperation 0"),
        QStringLiteral("System.setInternetPathOption false"),
        QStringLiteral("System.setTimingSetting 200"),
    };
    EXPECT_EQ(server.journal(), expected);
}

// A plug-in serving a host for days must not keep every call it received.
TEST(SimObjectServer, JournalInMemoryIsBoundedAndKeptOnlyWhenAsked) {
    lns::sim::Journal journal;
    for (qsizetype i = 0; i < lns::sim::Journal::MemoryLimit + 10; ++i)
        journal.record(QString::number(i));
    EXPECT_LE(journal.lines().size(), lns::sim::Journal::MemoryLimit);
    EXPECT_EQ(journal.lines().last(), QString::number(lns::sim::Journal::MemoryLimit + 9));
    journal.keepInMemory(false);
    journal.record(QStringLiteral("Network.Open"));
    EXPECT_TRUE(journal.lines().isEmpty());
}

TEST(SimObjectServer, JournalIsAppendedToTheNamedFile) {
    KitFolder kit;
    const QString file = kit.path() + QStringLiteral("/journal.txt");
    qputenv("LNS_SIM_JOURNAL", file.toUtf8());
    {
        lns::sim::SimObjectServer server(kit.path());
        server.Open();
        server.Close();
    }
    qunsetenv("LNS_SIM_JOURNAL");
    QFile journal(file);
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(journal.readAll(), QByteArray("ObjectServer.Open\nObjectServer.Close\n"));
}

TEST(SimDevices, FailuresSetInTheDatabaseReachTheCaller) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto silent = demo.property(QStringLiteral("Floor 3"), QStringLiteral("RTU-3"),
                                      QStringLiteral("nciSetPts"));
    try {
        silent->FormattedValue();
        FAIL() << "read an unreachable device";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), static_cast<qint32>(0x80040000u + 18200u));
    }
    EXPECT_EQ(lnsCodeOf([&] { silent->setFormattedElement(0, QStringLiteral("1")); }),
              DeviceUnreachable);
    EXPECT_NE(demo.device(QStringLiteral("Floor 3"), QStringLiteral("RTU-3"))->Test(), 0);

    const auto locked = demo.property(QStringLiteral("Floor 3"), QStringLiteral("RTU-4"),
                                      QStringLiteral("nciLocation"));
    const QString before = locked->FormattedValue();
    EXPECT_EQ(lnsCodeOf([&] { locked->setFormattedElement(0, QStringLiteral("Elsewhere")); }),
              WriteFailed);
    EXPECT_EQ(locked->FormattedValue(), before);

    const auto fresh = demo.device(QStringLiteral("Floor 3"), QStringLiteral("RTU-2"));
    EXPECT_FALSE(fresh->Commissioned());
    EXPECT_EQ(demo.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"))->Test(), 0);
    EXPECT_EQ(demo.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"))->State(), 4);
}

TEST(SimDevices, WritesParseTheTextAndARefusedTextChangesNothing) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto setpoints = demo.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                                         QStringLiteral("nciSetPts"));
    setpoints->setFormatSpec(QStringLiteral("SNVT_temp_setpt#US"));
    const QString before = setpoints->FormattedValue();
    EXPECT_EQ(lnsCodeOf([&] {
                  setpoints->setFormattedElement(
                      0, QStringLiteral("900.00,76.00,80.00,70.00,66.00,62.00"));
              }),
              FormatFailed);
    EXPECT_EQ(lnsCodeOf([&] { setpoints->setFormattedElement(0, QStringLiteral("warm")); }),
              FormatFailed);
    EXPECT_EQ(setpoints->FormattedValue(), before);

    setpoints->setFormattedElement(0, QStringLiteral("73.00,76.00,80.00,70.00,66.00,62.00"));
    setpoints->setFormatSpec(QStringLiteral("SNVT_temp_setpt#SI"));
    EXPECT_TRUE(setpoints->FormattedValue().startsWith(QStringLiteral("22.78,")))
        << setpoints->FormattedValue().toStdString();
}

TEST(SimDevices, ArrayElementsAreReadAndWrittenOneByOne) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto schedule = demo.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                                        QStringLiteral("nciDaySched"));
    ASSERT_EQ(schedule->ElementCount(), 7);
    schedule->setFormattedElement(3, QStringLiteral("360 600 660 1020"));
    EXPECT_EQ(schedule->FormattedElement(3), QStringLiteral("360 600 660 1020"));
    EXPECT_EQ(schedule->FormattedElement(2), QStringLiteral("420 720 780 1080"));
    EXPECT_EQ(lnsCodeOf([&] { schedule->FormattedElement(7); }), lns::Code::InvalidArgument);
}

TEST(SimDevices, OffNetPropertiesReportFlags36) {
    KitFolder kit;
    OpenDemo offnet(kit.path(), QStringLiteral("Offnet Site"));
    EXPECT_EQ(offnet.system->ManagementMode(), 1);
    EXPECT_EQ(offnet
                  .property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                            QStringLiteral("nciSetPts"))
                  ->Flags(),
              36);
}

TEST(SimSystem, EngineeredModeCanBeRefusedAndTheInterfaceGivenBack) {
    KitFolder kit;
    lns::sim::SimObjectServer server(kit.path());
    server.Open();
    const auto network = server.Networks()->Item(QStringLiteral("New Site"));
    network->Open();
    const auto system = network->Systems()->Item(1);
    const auto serviceDevice = system->NetworkServiceDevice();
    const auto own = serviceDevice->NetworkInterface();
    ASSERT_TRUE(own);
    serviceDevice->setNetworkInterface(nullptr);
    EXPECT_FALSE(serviceDevice->NetworkInterface());
    EXPECT_EQ(lnsCodeOf([&] { system->Open(); }), lns::Code::InvalidArgument);
    serviceDevice->setNetworkInterface(own);
    system->Open();
    EXPECT_TRUE(system->IsOpen());
}

TEST(SimComponentApps, AddFindUpdateAndRemove) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto apps = demo.system->TemplateLibrary()
                          ->DeviceTemplates()
                          ->Item(QStringLiteral("8003DB5500040421"))
                          ->ComponentApps();
    const auto app = apps->Add(QStringLiteral("Configure"), QStringLiteral("A.B"), 7);
    app->setCommandId(13);
    app->setDefaultAction(true);
    EXPECT_EQ(lnsCodeOf([&] { apps->Add(QStringLiteral("Configure"), QStringLiteral("C.D"), 28); }),
              AlreadyExists);
    apps->Add(QStringLiteral("Other"), QStringLiteral("C.D"), 28);
    ASSERT_EQ(apps->Count(), 2);
    EXPECT_EQ(apps->Item(QStringLiteral("Configure"))->CommandId(), 13);
    EXPECT_TRUE(apps->Item(1)->DefaultAction());
    apps->Remove(1);
    EXPECT_EQ(apps->Item(1)->Name(), QStringLiteral("Other"));
    EXPECT_EQ(lnsCodeOf([&] { apps->Remove(2); }), NotFound);

    const auto serverApps = demo.server.ComponentApps();
    serverApps->Add(QStringLiteral("Everywhere"), QStringLiteral("A.B"), 0);
    lns::sim::SimObjectServer again(kit.path());
    again.Open();
    EXPECT_EQ(again.ComponentApps()->Item(1)->Name(), QStringLiteral("Everywhere"));
}

TEST(SimDeviceTemplates, ImportFromTheKitInterfaceFileAndRemove) {
    KitFolder kit;
    lns::sim::SimObjectServer server(kit.path());
    server.Open();
    const auto network = server.Networks()->Item(QStringLiteral("New Site"));
    network->Open();
    const auto system = network->Systems()->Item(1);
    system->Open();
    const auto templates = system->TemplateLibrary()->DeviceTemplates();
    const auto created = templates->Add(QStringLiteral("Zentaro RM42_PIR"), 1);
    EXPECT_EQ(lnsCodeOf([&] { templates->Add(QStringLiteral("Zentaro RM42_PIR"), 1); }),
              AlreadyExists);
    created->Import(system->XifFolder() + QStringLiteral("\\zentaro\\RM42xx.XIF"));
    EXPECT_EQ(created->ProgramId(), QStringLiteral("8003DB5500040421"));
    const auto object = created->Interface()->LonMarkObjects()->Item(1);
    EXPECT_EQ(object->Name(), QStringLiteral("Thermostat"));
    EXPECT_EQ(object->ConfigProperties()->Count(), 12);
    EXPECT_EQ(object->ConfigProperties()->Item(QStringLiteral("nciDaySched"))->ElementCount(), 7);
    EXPECT_EQ(created->AppDeviceCount(), 0);
    EXPECT_FALSE(created->Interface()->Parent());

    EXPECT_EQ(lnsCodeOf([&] { created->Import(kit.path() + QStringLiteral("/missing.XIF")); }),
              lns::Code::ImportFailed);
    EXPECT_EQ(created->ProgramId(), QStringLiteral("8003DB5500040421"));

    templates->Remove(QStringLiteral("Zentaro RM42_PIR"));
    EXPECT_EQ(templates->Count(), 0);
}

TEST(SimDeviceTemplates, ATemplateInUseIsKept) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto templates = demo.system->TemplateLibrary()->DeviceTemplates();
    EXPECT_EQ(templates->Item(1)->AppDeviceCount(), 7);
    EXPECT_EQ(lnsCodeOf([&] { templates->Remove(QStringLiteral("Zentaro RM42_PIR")); }),
              lns::Code::InvalidArgument);
    EXPECT_EQ(templates->Count(), 1);
}

TEST(SimObjects, ParentsLeadFromALonMarkObjectBackToItsDevice) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto object = demo.device(QStringLiteral("Floor 1"), QStringLiteral("HP-1"))
                            ->Interface()
                            ->LonMarkObjects()
                            ->Item(QStringLiteral("Thermostat"));
    EXPECT_EQ(object->Parent()->Parent()->Parent()->Name(), QStringLiteral("HP-1"));
    object->setResourceScope(4);
    EXPECT_EQ(object->ResourceScope(), 4);
}

namespace {

struct RecordingListener : lns::ObjectServerEvents {
    QStringList events;
    void onRepaint() override { events << QStringLiteral("repaint"); }
    void onMonitorValue(int point, const QString& value) override {
        events << QStringLiteral("value %1 %2").arg(point).arg(value);
    }
    void onMonitorError(int tag) override { events << QStringLiteral("error %1").arg(tag); }
};

} // namespace

TEST(SimObjectServer, EventsReachTheListenerUntilItIsRemoved) {
    KitFolder kit;
    lns::sim::SimObjectServer server(kit.path());
    RecordingListener listener;
    server.setEventListener(&listener);
    server.raiseRepaint();
    server.raiseMonitorValue(3, QStringLiteral("21.5"));
    server.raiseMonitorError(7);
    server.setEventListener(nullptr);
    server.raiseRepaint();
    EXPECT_EQ(listener.events,
              (QStringList{QStringLiteral("repaint"), QStringLiteral("value 3 21.5"),
                           QStringLiteral("error 7")}));
}
