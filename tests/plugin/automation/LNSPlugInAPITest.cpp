// SPDX-License-Identifier: Apache-2.0
#include "PlugInFakes.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/SimObjectServer.h"
#include "platform/Error.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Name = QStringLiteral("Zentaro PIR ready RM42xx Configure");

// The error a call raises; fails the test when it raises none.
Error raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return Error(0, QString(), QString());
}

void expectError(const std::function<void()>& call, qint32 number, const QString& description) {
    const Error error = raised(call);
    EXPECT_EQ(error.number(), number);
    EXPECT_EQ(error.source(), Name);
    EXPECT_EQ(error.description(), description);
}

class PlugInObject : public ::testing::Test {
protected:
    PlugInFixture f;
};

TEST_F(PlugInObject, FirstInstanceInitialisesTheProcessOnce) {
    CRegistry(f.store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                      QStringLiteral("LonWorks Path"),
                                      QStringLiteral("C:\\LonWorks"));
    f.state.ServerOpen = f.state.NetworkOpen = true;
    auto first = f.create();
    EXPECT_FALSE(f.state.ServerOpen);
    EXPECT_FALSE(f.state.NetworkOpen);
    EXPECT_EQ(f.specific.ResourceLocations[0].path,
              QStringLiteral("C:\\LonWorks\\types\\User\\Zentaro"));
    ASSERT_EQ(f.state.SupportedCommands.size(), 2);
    const SupportedCommand& lonMark = f.state.SupportedCommands[0];
    EXPECT_EQ(lonMark.CommandId, 13);
    EXPECT_EQ(lonMark.ObjectClassId, 28);
    EXPECT_EQ(lonMark.Name, QStringLiteral("Zentaro PIR ready RM42xx LonMarkObject Configure"));
    EXPECT_EQ(lonMark.ProgramId, QStringLiteral("8003DB5500040421"));
    EXPECT_EQ(lonMark.DeviceTemplateName, QStringLiteral("Zentaro RM42_PIR"));
    EXPECT_TRUE(lonMark.DefaultAction);
    EXPECT_EQ(lonMark.RegistrationScope, 3);
    EXPECT_TRUE(lonMark.LonMarkObjectKey.isEmpty());
    EXPECT_EQ(f.state.SupportedCommands[1].ObjectClassId, 7);
    EXPECT_EQ(f.state.SupportedCommands[1].Description,
              QStringLiteral("Configure the Zentaro PIR ready RM42xx Application Device"));

    f.state.NetworkOpen = true;
    auto second = f.create();
    EXPECT_TRUE(f.state.NetworkOpen);
    EXPECT_EQ(f.state.InstanceCount, 2);
    EXPECT_EQ(f.events.count(QStringLiteral("window.ObjectServer")), 1);
}

TEST_F(PlugInObject, ReleasingTheLastObjectEndsThePlugInOnlyWhileTheWindowIsHidden) {
    auto first = f.create();
    auto second = f.create();
    first.reset();
    EXPECT_FALSE(f.events.contains(QStringLiteral("EndPlugIn")));
    f.window.visible = true;
    second.reset();
    EXPECT_EQ(f.state.InstanceCount, 0);
    EXPECT_FALSE(f.events.contains(QStringLiteral("EndPlugIn")));

    // The process stays; the next object starts over with cleared flags.
    f.state.ServerOpen = f.state.NetworkOpen = true;
    auto third = f.create();
    EXPECT_FALSE(f.state.ServerOpen);
    EXPECT_FALSE(f.state.NetworkOpen);
    f.window.visible = false;
    third.reset();
    EXPECT_EQ(f.events.count(QStringLiteral("EndPlugIn")), 1);
}

TEST_F(PlugInObject, UnknownCommandsAndClassesFailAfterTheProgressWindowIsGone) {
    auto plugIn = f.create();
    f.events.clear();
    expectError([&] { plugIn->SendCommand(99, 7, QStringLiteral("Net/Sys/Sub/Dev")); }, 20003,
                QStringLiteral("Command not supported"));
    EXPECT_EQ(f.events, (QStringList{"progress load", "status Initializing plug-in . . .",
                                     "progress unload"}));
    expectError([&] { plugIn->SendCommand(13, 5, QStringLiteral("Net/Sys/Sub/Dev")); }, 20004,
                QStringLiteral("Object type not supported for this command"));
    EXPECT_TRUE(f.state.CurrentObjectName.isEmpty());
}

TEST_F(PlugInObject, AConfigureCommandWithoutAnOpenNetworkFindsNoObject) {
    auto plugIn = f.create();
    expectError([&] { plugIn->SendCommand(13, 7, QStringLiteral("Net/Sys/Sub1/Dev1")); }, 20005,
                QStringLiteral("Object not found"));
    EXPECT_EQ(f.state.CurrentObjectName, QStringLiteral("Net/Sys/Sub1/Dev1"));
    EXPECT_EQ(f.state.ObjectPath.Count(), 4);
}

TEST_F(PlugInObject, RegisterAndRemoveCommandsRunUnderTheProgressWindow) {
    auto plugIn = f.create();
    f.events.clear();
    plugIn->SendCommand(50, 0, QString());
    plugIn->SendCommand(51, 99, QStringLiteral("ignored"));
    EXPECT_EQ(f.events,
              (QStringList{"progress load", "status Registering plug-in . . .", "RegisterCommands",
                           "progress unload", "progress load", "status Unregistering plug-in . . .",
                           "RemoveCommands 0 1", "progress unload"}));
    EXPECT_TRUE(f.state.CurrentObjectName.isEmpty());

    f.registration.registers = false;
    f.events.clear();
    expectError([&] { plugIn->SendCommand(50, 7, QString()); }, 20000,
                QStringLiteral("Unable to register Supported Commands"));
    EXPECT_EQ(f.events.last(), QStringLiteral("progress unload"));

    // A removal that did nothing is no success either.
    f.registration.removes = false;
    f.events.clear();
    expectError([&] { plugIn->SendCommand(51, 0, QString()); }, 20000,
                QStringLiteral("Unable to unregister Supported Commands"));
    EXPECT_EQ(f.events.last(), QStringLiteral("progress unload"));
}

TEST_F(PlugInObject, SizingAFixedWindowIsRefusedBeforeItsState) {
    auto plugIn = f.create();
    f.window.border = BorderStyle::FixedDialog;
    f.window.state = WindowState::Minimized;
    expectError([&] { plugIn->setHeight(100); }, 20002,
                QStringLiteral("Attempt to write to read-only property"));
    expectError([&] { plugIn->setWidth(100); }, 20002,
                QStringLiteral("Attempt to write to read-only property"));
    expectError([&] { plugIn->setTop(10); }, 20006,
                QStringLiteral("Plug-in can't be moved or sized while minimized or maximized"));
    f.window.border = BorderStyle::Sizable;
    f.window.state = WindowState::Maximized;
    expectError([&] { plugIn->setLeft(10); }, 20006,
                QStringLiteral("Plug-in can't be moved or sized while minimized or maximized"));
    expectError([&] { plugIn->setHeight(10); }, 20006,
                QStringLiteral("Plug-in can't be moved or sized while minimized or maximized"));
    EXPECT_EQ(f.window.height, 6000);
    EXPECT_EQ(f.window.left, 150);
}

TEST_F(PlugInObject, GeometryTravelsInPixelsRoundedHalfToEven) {
    auto plugIn = f.create();
    f.window.twipsPerPixelX = 12;
    f.window.twipsPerPixelY = 12;
    f.window.height = 30; // 2.5 pixels
    f.window.width = 42;  // 3.5 pixels
    f.window.left = 18;   // 1.5 pixels
    f.window.top = 17;    // 1.42 pixels
    EXPECT_EQ(plugIn->Height(), 2);
    EXPECT_EQ(plugIn->Width(), 4);
    EXPECT_EQ(plugIn->left(), 2);
    EXPECT_EQ(plugIn->top(), 1);

    f.window.twipsPerPixelX = 15;
    f.window.twipsPerPixelY = 20;
    plugIn->setWidth(640);
    plugIn->setHeight(480);
    plugIn->setLeft(-8);
    plugIn->setTop(3);
    EXPECT_EQ(f.window.width, 9600);
    EXPECT_EQ(f.window.height, 9600);
    EXPECT_EQ(f.window.left, -120);
    EXPECT_EQ(f.window.top, 60);
    EXPECT_EQ(raised([&] { plugIn->setWidth(2000000000); }).number(), 6);
    EXPECT_EQ(f.window.width, 9600);
}

TEST_F(PlugInObject, MinimizedIsStoredEvenWhileHiddenButReportsIt) {
    auto plugIn = f.create();
    expectError(
        [&] { plugIn->setMinimized(true); }, 20006,
        QStringLiteral("Can not modify the minimzed property when invisble. The property will be "
                       "applied the next time the plug-in is made visible"));
    EXPECT_TRUE(plugIn->Minimized());
    plugIn->setVisible(true);
    plugIn->setMinimized(false);
    EXPECT_FALSE(plugIn->Minimized());
    EXPECT_TRUE(plugIn->Visible());
}

TEST_F(PlugInObject, IdentityPropertiesAreReadOnly) {
    auto plugIn = f.create();
    EXPECT_EQ(plugIn->Name(), Name);
    EXPECT_EQ(plugIn->ManufacturerID(), QStringLiteral("987"));
    EXPECT_EQ(plugIn->ManufacturerName(), QStringLiteral("Zentaro Inc."));
    EXPECT_EQ(plugIn->LcaVersion(), QStringLiteral("3.0"));
    EXPECT_EQ(plugIn->Version(), Identity().Version);
    const QString readOnly = QStringLiteral("Attempt to write to read-only property");
    expectError([&] { plugIn->setName(QStringLiteral("x")); }, 20002, readOnly);
    expectError([&] { plugIn->setVersion(QStringLiteral("9.9.9")); }, 20002, readOnly);
    expectError([&] { plugIn->setLcaVersion(QStringLiteral("4.0")); }, 20002, readOnly);
    expectError([&] { plugIn->setManufacturerID(QStringLiteral("1")); }, 20002, readOnly);
    expectError([&] { plugIn->setManufacturerName(QStringLiteral("x")); }, 20002, readOnly);
    EXPECT_EQ(plugIn->Version(), Identity().Version);
}

TEST_F(PlugInObject, DevelopmentProgramIdKeepsOnlySixteenCharactersAndIsShared) {
    auto first = f.create();
    auto second = f.create();
    first->setDevelopmentProgramId(QStringLiteral("8003DB5500040421"));
    EXPECT_EQ(second->DevelopmentProgramId(), QStringLiteral("8003DB5500040421"));
    first->setDevelopmentProgramId(QStringLiteral("8003DB550004042"));
    EXPECT_TRUE(second->DevelopmentProgramId().isEmpty());
    first->setDevelopmentProgramId(QStringLiteral("8003DB5500040421F"));
    EXPECT_TRUE(first->DevelopmentProgramId().isEmpty());
}

TEST_F(PlugInObject, NetworkInterfaceNameBelongsToEachObject) {
    auto first = f.create();
    auto second = f.create();
    first->setNetworkInterfaceName(QStringLiteral("LON1"));
    EXPECT_EQ(first->NetworkInterfaceName(), QStringLiteral("LON1"));
    EXPECT_TRUE(second->NetworkInterfaceName().isEmpty());
}

// The plug-in object over the simulated Object Server and the kit's networks.
class PlugInOnDemoNetwork : public PlugInObject {
protected:
    void SetUp() override {
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        f.window.server = lns::sim::objectServerFromSettings(f.store);
        plugIn = f.create();
        plugIn->setNetworkName(QStringLiteral("Demo Building"));
        f.events.clear();
    }
    std::unique_ptr<LNSPlugInAPI> plugIn;
};

TEST_F(PlugInOnDemoNetwork, HandsTheNamedDeviceOrLonMarkObjectToTheWindow) {
    plugIn->SendCommand(13, 7, QStringLiteral("Demo Building/System 1/Floor 2/HP-12"));
    plugIn->SendCommand(13, 28,
                        QStringLiteral("Demo Building/System 1/Floor 3/RTU-4/Obj: Thermostat"));
    plugIn->SendCommand(13, 28, QStringLiteral("Floor 1/RTU-1/Thermostat"));
    EXPECT_EQ(
        f.events.filter(QStringLiteral("Process")),
        (QStringList{"ProcessDeviceCommand HP-12 13", "ProcessLonMarkObjectCommand Thermostat 13",
                     "ProcessLonMarkObjectCommand Thermostat 13"}));
    EXPECT_EQ(f.state.CurrentObjectName, QStringLiteral("Floor 1/RTU-1/Thermostat"));
}

TEST_F(PlugInOnDemoNetwork, AnObjectThatIsNotThereIsNotHandedOver) {
    for (const char* name :
         {"Demo Building/System 1/Floor 9/RTU-1", "Demo Building/System 1/Floor 1/RTU-9",
          "Demo Building/System 1/Floor 1/RTU-1/Obj:Nothing"}) {
        const qint16 objectClass =
            QString::fromLatin1(name).contains(QStringLiteral("Obj:")) ? 28 : 7;
        expectError([&] { plugIn->SendCommand(13, objectClass, QString::fromLatin1(name)); }, 20005,
                    QStringLiteral("Object not found"));
    }
    EXPECT_TRUE(f.events.filter(QStringLiteral("Process")).isEmpty());
}

TEST_F(PlugInOnDemoNetwork, AWindowErrorReachesTheHostUnchanged) {
    f.window.handOverFailure =
        Error(Error::LnsErrorBase + 18200, QStringLiteral("fMain InitDevice"),
              QStringLiteral("Failed to communicate with target device."));
    const Error error = raised([&] {
        plugIn->SendCommand(13, 7, QStringLiteral("Demo Building/System 1/Floor 1/RTU-1"));
    });
    EXPECT_EQ(error.number(), Error::LnsErrorBase + 18200);
    EXPECT_EQ(error.source(), QStringLiteral("fMain InitDevice"));
    EXPECT_EQ(error.description(), QStringLiteral("Failed to communicate with target device."));
    EXPECT_EQ(f.events.last(), QStringLiteral("ProcessDeviceCommand RTU-1 13"));
}

TEST_F(PlugInOnDemoNetwork, AnotherNetworkOpensOverTheSameServerAndAFailureClosesTheBooks) {
    plugIn->setNetworkName(QStringLiteral("New Site"));
    EXPECT_EQ(plugIn->networkName(), QStringLiteral("New Site"));
    EXPECT_TRUE(f.state.ServerOpen);
    expectError([&] { plugIn->setNetworkName(QStringLiteral("Nowhere")); }, 20006,
                QStringLiteral("Cannot open the network Nowhere"));
    EXPECT_FALSE(f.state.NetworkOpen);
    EXPECT_TRUE(plugIn->networkName().isEmpty());
    EXPECT_EQ(f.events.count(QStringLiteral("pointer busy")),
              f.events.count(QStringLiteral("pointer normal")));
}

TEST_F(PlugInOnDemoNetwork, RemoteWriteReopensAnOpenServer) {
    auto* server = dynamic_cast<lns::sim::SimObjectServer*>(f.window.server.get());
    ASSERT_TRUE(server);
    server->keepJournal(true);
    server->clearJournal();
    plugIn->setRemote(true);
    EXPECT_TRUE(plugIn->Remote());
    EXPECT_TRUE(f.window.server->IsOpen());
    EXPECT_TRUE(f.state.ServerOpen);
    // The server takes the flag only while closed.
    const QStringList calls = server->journal().filter(
        QRegularExpression(QStringLiteral("^ObjectServer\\.(Open|Close|setRemote)")));
    EXPECT_EQ(calls, (QStringList{"ObjectServer.Close", "ObjectServer.setRemote true",
                                  "ObjectServer.Open"}));
}

} // namespace
