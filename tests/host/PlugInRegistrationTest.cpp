#include "host/PlugInRegistration.h"

#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "host/PlugInIdentity.h"
#include "platform/Error.h"
#include "platform/ProcessLauncher.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

class RecordingLauncher : public ProcessLauncher {
public:
    void startDetached(const QString& program, const QStringList& arguments) override {
        if (failing)
            throw Error(53, QStringLiteral("ProcessLauncher"), QStringLiteral("File not found"));
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
    }
    std::unique_ptr<StartedProcess> start(const QString&, const QStringList&) override {
        return nullptr;
    }
    QStringList started;
    bool failing = false;
};

class PlugInRegistrationTest : public ::testing::Test {
protected:
    PlugInRegistration registration() {
        return PlugInRegistration(
            {store, dialogs, launcher, QStringLiteral("/opt/plugin/RM42xxPirConfigure"),
             [this]() -> lns::Ref<lns::ObjectServer> {
                 ++objectServerRequests;
                 throw Error(1, QString(), QStringLiteral("no Object Server in this test"));
             },
             [this]() -> std::unique_ptr<ProgressWindow> {
                 ++progressWindows;
                 return nullptr;
             },
             [](const lns::Ref<lns::System>&, bool, bool) {}, [] {}, [] {}});
    }
    QStringList valueNames() {
        QStringList names;
        for (const RegistryValue& value :
             store.values(Hive::LocalMachine, PlugInRegistration::PlugInKey())
                 .value_or(QList<RegistryValue>()))
            names << value.name + QLatin1Char('=') + value.text();
        return names;
    }

    TempPlatformRoot root;
    SettingsStore store{root.settingsStoreFile()};
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    int objectServerRequests = 0;
    int progressWindows = 0;
};

TEST_F(PlugInRegistrationTest, RegisterWritesTheTenValuesInOrderAndTheClass) {
    registration().Register(false);
    const PlugInIdentity& identity = Identity();
    EXPECT_EQ(valueNames(),
              QStringList(
                  {QStringLiteral("=") + identity.ProgID, QStringLiteral("Name=") + identity.Name,
                   QStringLiteral("Description=") + identity.Description, QStringLiteral("Scope=2"),
                   QStringLiteral("ManufacturerName=") + identity.ManufacturerName,
                   QStringLiteral("Version=") + identity.Version, QStringLiteral("LcaVersion=3.0"),
                   QStringLiteral("Prelaunch=-1"), QStringLiteral("MultiObject=-1"),
                   QStringLiteral("SingleInstance=1")}));
    EXPECT_EQ(launcher.started,
              QStringList{QStringLiteral("/opt/plugin/RM42xxPirConfigure /regserver")});
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "silent registration shows nothing";
}

TEST_F(PlugInRegistrationTest, InteractiveRegistrationReportsNewAndUpdated) {
    registration().Register(true);
    registration().Register(true);
    EXPECT_EQ(
        dialogs.texts(),
        QStringList(
            {QStringLiteral("Plug-in registered as RM42xxPirConfigure.LNSPlugInAPI"),
             QStringLiteral(
                 "Updated version of plug-in registered as RM42xxPirConfigure.LNSPlugInAPI")}));
    EXPECT_EQ(dialogs.messages[0].title, Identity().Name);
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::Information);
}

TEST_F(PlugInRegistrationTest, ANewerRegisteredVersionIsLeftAlone) {
    store.setValue(Hive::LocalMachine, PlugInRegistration::PlugInKey(),
                   RegistryValue::string(QString(), QStringLiteral("Other.ProgID")));
    store.setValue(Hive::LocalMachine, PlugInRegistration::PlugInKey(),
                   RegistryValue::string(QStringLiteral("Version"), QStringLiteral("9.0")));
    registration().Register(true);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("A newer version of this plug-in is already registered")});
    EXPECT_EQ(valueNames(),
              QStringList({QStringLiteral("=Other.ProgID"), QStringLiteral("Version=9.0")}));
    EXPECT_TRUE(launcher.started.isEmpty());
}

TEST_F(PlugInRegistrationTest, VersionsCompareByMajorAndMinor) {
    EXPECT_EQ(PlugInRegistration::ParseVersion(QStringLiteral("1.2.7")), std::make_pair(1, 2));
    EXPECT_EQ(PlugInRegistration::ParseVersion(QStringLiteral("2.10")), std::make_pair(2, 10));
    EXPECT_EQ(PlugInRegistration::ParseVersion(QStringLiteral("3. beta")), std::make_pair(3, 0));
    EXPECT_EQ(PlugInRegistration::ParseVersion(QStringLiteral("4.5 build 7")),
              std::make_pair(4, 5));
    EXPECT_EQ(PlugInRegistration::ParseVersion(QString()), std::make_pair(0, 0));
}

TEST_F(PlugInRegistrationTest, AFailedClassRegistrationStopsInteractiveRegistrationOnly) {
    launcher.failing = true;
    registration().Register(true);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "Plug-in RM42xxPirConfigure.LNSPlugInAPI registration as COM server failed")});
    EXPECT_TRUE(valueNames().isEmpty());
    registration().Register(false);
    EXPECT_EQ(valueNames().size(), 10);
}

TEST_F(PlugInRegistrationTest, MinimalDeregistrationTouchesNoNetwork) {
    registration().Register(false);
    registration().Deregister(PlugInRegistration::ModeMinimal, true);
    EXPECT_EQ(objectServerRequests, 0);
    EXPECT_EQ(progressWindows, 0);
    EXPECT_FALSE(store.keyExists(Hive::LocalMachine, PlugInRegistration::PlugInKey()));
    EXPECT_EQ(launcher.started.last(),
              QStringLiteral("/opt/plugin/RM42xxPirConfigure /unregserver"));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral(
                                   "Plug-in Zentaro PIR ready RM42xx Configure deregistered")});
}

TEST_F(PlugInRegistrationTest, DeregisteringTwiceReportsTheMissingKey) {
    registration().Register(false);
    registration().Deregister(PlugInRegistration::ModeMinimal, true);
    registration().Deregister(PlugInRegistration::ModeMinimal, true);
    EXPECT_EQ(
        dialogs.texts().last(),
        QStringLiteral(
            "Plug-in Zentaro PIR ready RM42xx Configure does not exisit in the Windows registery"));
}

TEST_F(PlugInRegistrationTest, AFailedClassDeregistrationKeepsTheKey) {
    registration().Register(false);
    launcher.failing = true;
    registration().Deregister(PlugInRegistration::ModeMinimal, true);
    EXPECT_TRUE(store.keyExists(Hive::LocalMachine, PlugInRegistration::PlugInKey()));
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "Plug-in RM42xxPirConfigure.LNSPlugInAPI deregistration as COM server "
                  "failed\rVerify that there are not instances running\rFile not found")});
}

TEST_F(PlugInRegistrationTest, CompleteDeregistrationWithoutAnObjectServerStillRemovesTheKey) {
    registration().Register(false);
    registration().Deregister(PlugInRegistration::ModeComplete, false);
    EXPECT_EQ(objectServerRequests, 1);
    EXPECT_EQ(progressWindows, 0) << "silent deregistration shows no progress";
    EXPECT_FALSE(store.keyExists(Hive::LocalMachine, PlugInRegistration::PlugInKey()));
}

} // namespace
