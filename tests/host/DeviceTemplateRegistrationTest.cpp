// Command registration in a network of the simulator laid out from the kit.
#include "host/DeviceTemplateRegistration.h"

#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "host/PlugInIdentity.h"
#include "host/PlugInRegistration.h"
#include "host/PlugInState.h"
#include "lns/sim/ObjectServerFromSettings.h"
#include "lns/sim/SimResourceCatalog.h"
#include "platform/ProcessLauncher.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString DeviceCommandName = QStringLiteral("Zentaro PIR ready RM42xx Device Configure");

class CommandRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        FillSupportedCommands(state);
        state.ObjectServer = lns::sim::objectServerFromSettings(store);
        state.ObjectServer->Open();
        openNetwork(QStringLiteral("New Site"));
    }
    void openNetwork(const QString& name) {
        state.CurrentNetwork = state.ObjectServer->Networks()->Item(name);
        state.CurrentNetwork->Open();
        state.CurrentSystem = state.CurrentNetwork->Systems()->Item(1);
        state.CurrentSystem->Open();
    }
    DeviceTemplateRegistrationContext context() {
        return {state,
                store,
                dialogs,
                launcher,
                [] { return std::make_unique<lns::sim::SimResourceCatalog>(); },
                [this](const QString& text) { statuses << text; },
                {},
                [] {}};
    }
    lns::Ref<lns::DeviceTemplates> templates() const {
        return state.CurrentSystem->TemplateLibrary()->DeviceTemplates();
    }
    lns::Ref<lns::ComponentApps> templateApps() const {
        return templates()->Item(QStringLiteral("Zentaro RM42_PIR"))->ComponentApps();
    }
    QStringList appNames(const lns::Ref<lns::ComponentApps>& apps) const {
        QStringList names;
        for (int index = 1; index <= apps->Count(); ++index)
            names << apps->Item(index)->Name() +
                         (apps->Item(index)->DefaultAction() ? QStringLiteral(" *") : QString());
        return names;
    }
    QString xifFile() const {
        return root.path() + QStringLiteral("/LonWorks/Import/Zentaro/RM42xx.XIF");
    }

    TempPlatformRoot root;
    SettingsStore store{root.settingsStoreFile()};
    ScriptedDialogs dialogs;
    SystemProcessLauncher launcher;
    PlugInState state;
    QStringList statuses;
};

TEST_F(CommandRegistrationTest, RegistrationImportsTheTemplateAndAddsOneApplicationPerCommand) {
    DeviceTemplateRegistration registration(context());
    ASSERT_TRUE(registration.RegisterCommands())
        << dialogs.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(appNames(templateApps()),
              QStringList({QStringLiteral("Zentaro PIR ready RM42xx LonMarkObject Configure *"),
                           DeviceCommandName + QStringLiteral(" *")}));
    const lns::Ref<lns::ComponentApp> app = templateApps()->Item(DeviceCommandName);
    EXPECT_EQ(app->ProgId(), Identity().ProgID);
    EXPECT_EQ(app->Version(), Identity().Version);
    EXPECT_EQ(app->ManufacturerId(), QStringLiteral("987"));
    EXPECT_TRUE(statuses.contains(QStringLiteral(
        "Zentaro RM42_PIR\r\nAdding command Configure for Application Device objects...")));
    EXPECT_TRUE(QFile::exists(root.path() + QStringLiteral("/LonWorks/Import/Zentaro/RM42xx.XFB")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CommandRegistrationTest, AnExistingTemplateNeedsNoFileAndItsApplicationsAreUpdatedInPlace) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    templateApps()->Item(DeviceCommandName)->setDescription(QStringLiteral("stale"));
    QFile::remove(xifFile());
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    EXPECT_EQ(templateApps()->Count(), 2);
    EXPECT_EQ(templateApps()->Item(DeviceCommandName)->Description(),
              QStringLiteral("Configure the Zentaro PIR ready RM42xx Application Device"));
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());
}

TEST_F(CommandRegistrationTest, TakenNamesGiveTheNextNumberAndOtherPlugInsLoseTheDefault) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    const lns::Ref<lns::ComponentApps> apps = templateApps();
    apps->Remove(2);
    apps->Item(1)->setProgId(QStringLiteral("Other.PlugIn"));
    apps->Add(DeviceCommandName, QStringLiteral("Other.PlugIn"), 7)->setDefaultAction(true);
    apps->Add(DeviceCommandName + QStringLiteral(" (1)"), QStringLiteral("Other.PlugIn"), 7);
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    EXPECT_TRUE(appNames(apps).contains(DeviceCommandName + QStringLiteral(" (2) *")))
        << appNames(apps).join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(apps->Item(DeviceCommandName)->DefaultAction());
}

TEST_F(CommandRegistrationTest, UniqueNamesStopAfterAThousandCandidates) {
    EXPECT_EQ(DeviceTemplateRegistration::UniqueName(
                  QStringLiteral("X"), [](const QString& n) { return n == QLatin1String("X"); }),
              QStringLiteral("X (1)"));
    EXPECT_EQ(DeviceTemplateRegistration::UniqueName(QStringLiteral("X"),
                                                     [](const QString&) { return true; }),
              QStringLiteral("X (1000)"));
}

TEST_F(CommandRegistrationTest, WithoutAFileTheUserIsAskedAndAWrongDeviceCountsAsNoChoice) {
    QFile::rename(xifFile(), root.path() + QStringLiteral("/elsewhere.xif"));
    QFile other(root.path() + QStringLiteral("/other.xif"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("a\nb\nc\n80:03:DB:55:00:04:04:99\n");
    other.close();
    dialogs.queueFile(other.fileName());
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].title,
              QStringLiteral("Locate the XIF file with Program ID 8003DB5500040421"));
    EXPECT_EQ(dialogs.fileRequests[0].filter,
              QStringLiteral("External Interface Files (*.XIF)|*.XIF"));
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("\r\nUnable to find XIF file / create a template.")});
    EXPECT_EQ(templates()->Count(), 0);

    dialogs.queueFile(root.path() + QStringLiteral("/elsewhere.xif"));
    EXPECT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands())
        << "the right file is accepted";
}

TEST_F(CommandRegistrationTest, RemovalTakesTheCommandsAndOffersUnusedTemplatesWhenAsked) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    state.CurrentSystem->ComponentApps()
        ->Add(QStringLiteral("Register"), Identity().ProgID, 0)
        ->setCommandId(50);

    state.Interactive = false;
    DeviceTemplateRegistration(context()).RemoveCommands(true, true);
    EXPECT_EQ(templateApps()->Count(), 0);
    EXPECT_EQ(state.CurrentSystem->ComponentApps()->Count(), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "no question without the interactive flag";

    state.Interactive = true;
    dialogs.queueAnswer(DialogAnswer::Yes);
    DeviceTemplateRegistration(context()).RemoveCommands(true, true);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("The device template 'Zentaro RM42_PIR' is no longer referenced")));
    EXPECT_EQ(templates()->Count(), 0);
}

TEST_F(CommandRegistrationTest, DeregistrationVisitsEveryNetworkAndOnlyTheFirstIsFirst) {
    QStringList visits;
    PlugInRegistration registration(
        {store, dialogs, launcher, QStringLiteral("/nonexistent/RM42xxPirConfigure"),
         [this] { return state.ObjectServer; }, [] { return nullptr; },
         [&](const lns::Ref<lns::System>& system, bool exhaustive, bool first) {
             visits << QStringLiteral("%1 %2 %3").arg(system->Name()).arg(exhaustive).arg(first);
         },
         [] {}, [] {}});
    registration.Deregister(PlugInRegistration::ModeExhaustive, false);
    ASSERT_GE(visits.size(), 3) << visits.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(visits[0].endsWith(QStringLiteral(" 1 1")));
    for (qsizetype i = 1; i < visits.size(); ++i)
        EXPECT_TRUE(visits[i].endsWith(QStringLiteral(" 1 0"))) << visits[i].toStdString();
}

} // namespace
