// SPDX-License-Identifier: Apache-2.0
#include "registration/PlugInRegistration.h"

#include "../model/FakeLns.h"
#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "platform/Error.h"
#include "platform/ProcessLauncher.h"
#include "platform/SettingsStore.h"
#include "support/PlugInIdentity.h"

#include <gtest/gtest.h>

namespace {

class RecordingLauncher : public ProcessLauncher {
public:
    void run(const QString& program, const QStringList& arguments, int) override {
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

Error refused() {
    return Error::lns(lns::Code::InvalidArgument, QStringLiteral("LNS Object Server"),
                      QStringLiteral("refused"));
}

// A network service device whose interface cannot be read or cannot be changed.
class ServiceDevice : public lns::NetworkServiceDevice {
public:
    bool readFails = false;
    bool writeFails = false;
    lns::Ref<lns::NetworkInterface> NetworkInterface() const override {
        if (readFails)
            throw refused();
        return nullptr;
    }
    void setNetworkInterface(const lns::Ref<lns::NetworkInterface>&) override {
        if (writeFails)
            throw refused();
    }
};

// A system whose service device cannot be had when `serviceDevice` is empty.
class ServicedSystem : public fake::System {
public:
    explicit ServicedSystem(QString name) : m_name(std::move(name)) {}
    QString Name() const override { return m_name; }
    lns::Ref<lns::NetworkServiceDevice> NetworkServiceDevice() const override {
        if (!serviceDevice)
            throw refused();
        return serviceDevice;
    }
    lns::Ref<ServiceDevice> serviceDevice;

private:
    QString m_name;
};

class OneSystemNetwork : public lns::Network {
public:
    explicit OneSystemNetwork(lns::Ref<lns::System> system) {
        m_systems->items.push_back(std::move(system));
    }
    QString Name() const override { return m_systems->items.front()->Name(); }
    void Open() override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    lns::Ref<lns::Systems> Systems() const override { return m_systems; }

private:
    lns::Ref<fake::Collection<lns::System>> m_systems =
        std::make_shared<fake::Collection<lns::System>>();
};

// An Object Server that holds only networks.
class NetworksServer : public lns::ObjectServer {
public:
    void Open() override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    bool Remote() const override { return false; }
    void setRemote(bool) override {}
    void setAutoOpen(bool) override {}
    qint32 Flags() const override { return 0; }
    void setFlags(qint32) override {}
    lns::Ref<lns::NetworkInterfaces> RemoteNetworkInterfaces() const override { fake::unused(); }
    lns::Ref<lns::NetworkInterface> ActiveRemoteNetworkInterface() const override {
        fake::unused();
    }
    void setActiveRemoteNetworkInterface(const lns::Ref<lns::NetworkInterface>&) override {
        fake::unused();
    }
    lns::Ref<lns::Networks> Networks() const override { return networks; }
    lns::Ref<lns::ComponentApps> ComponentApps() const override { fake::unused(); }
    void setEventListener(lns::ObjectServerEvents*) override {}

    lns::Ref<fake::Collection<lns::Network>> networks =
        std::make_shared<fake::Collection<lns::Network>>();
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
    // Silent registration writes its values, but the run ends in failure.
    PlugInRegistration silent = registration();
    silent.Register(false);
    EXPECT_EQ(valueNames().size(), 10);
    EXPECT_TRUE(silent.failed());
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

TEST_F(PlugInRegistrationTest, AServiceDeviceThatFailsDoesNotKeepTheCommandsInItsNetwork) {
    auto server = std::make_shared<NetworksServer>();
    auto addNetwork = [&](const QString& name, lns::Ref<ServiceDevice> device) {
        auto system = std::make_shared<ServicedSystem>(name);
        system->serviceDevice = std::move(device);
        server->networks->items.push_back(std::make_shared<OneSystemNetwork>(system));
    };
    addNetwork(QStringLiteral("no service device"), nullptr);
    auto unreadable = std::make_shared<ServiceDevice>();
    unreadable->readFails = true;
    addNetwork(QStringLiteral("unreadable interface"), unreadable);
    auto unchangeable = std::make_shared<ServiceDevice>();
    unchangeable->writeFails = true;
    addNetwork(QStringLiteral("unchangeable interface"), unchangeable);

    QStringList visited;
    PlugInRegistration registration(
        {store, dialogs, launcher, QStringLiteral("/opt/plugin/RM42xxPirConfigure"),
         [&]() -> lns::Ref<lns::ObjectServer> { return server; }, [] { return nullptr; },
         [&](const lns::Ref<lns::System>& system, bool, bool) { visited << system->Name(); }, [] {},
         [] {}});
    registration.Deregister(PlugInRegistration::ModeComplete, false);
    EXPECT_EQ(visited,
              (QStringList{"no service device", "unreadable interface", "unchangeable interface"}));
}

} // namespace
