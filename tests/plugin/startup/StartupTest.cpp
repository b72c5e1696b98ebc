// SPDX-License-Identifier: Apache-2.0
#include "startup/MMain.h"
#include "support/PlugInIdentity.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Records what the start-up routine asked for.
class RecordingOperations : public RegistrationOperations {
public:
    void Register(bool interactive) override {
        calls << QStringLiteral("register interactive=%1").arg(interactive);
        if (failing)
            throw std::runtime_error("registration failed");
    }
    void Deregister(int mode, bool interactive) override {
        calls << QStringLiteral("deregister mode=%1 interactive=%2").arg(mode).arg(interactive);
    }
    void ShowRegistrationWindow() override { calls << QStringLiteral("window"); }

    QStringList calls;
    bool failing = false;
};

QStringList startWith(const QString& commandLine) {
    RecordingOperations operations;
    StartupArguments arguments;
    arguments.commandLine = commandLine;
    MMain_Main(arguments, operations);
    return operations.calls;
}

TEST(StartupCommandLine, RegistrationSwitchesRunSilently) {
    EXPECT_EQ(startWith(QStringLiteral("/regplugin")),
              QStringList{QStringLiteral("register interactive=0")});
    EXPECT_EQ(startWith(QStringLiteral("  /RegPlugIn  ")),
              QStringList{QStringLiteral("register interactive=0")});
    EXPECT_EQ(startWith(QStringLiteral("/deregplugin")),
              QStringList{QStringLiteral("deregister mode=0 interactive=0")});
    EXPECT_EQ(startWith(QStringLiteral("/DeregPlugin /DeregMode:-1")),
              QStringList{QStringLiteral("deregister mode=-1 interactive=0")});
    EXPECT_EQ(startWith(QStringLiteral("/deregplugin /deregmode:0")),
              QStringList{QStringLiteral("deregister mode=0 interactive=0")});
    EXPECT_EQ(startWith(QStringLiteral("/deregplugin /deregmode:1 ")),
              QStringList{QStringLiteral("deregister mode=1 interactive=0")});
}

TEST(StartupCommandLine, AnythingElseShowsTheRegistrationWindow) {
    for (const char* line : {"", "   ", "/deregplugin  /deregmode:1", "/deregplugin /deregmode:2",
                             "/regplugin extra", "regplugin", "/deregplugin\t/deregmode:0"})
        EXPECT_EQ(startWith(QLatin1String(line)), QStringList{QStringLiteral("window")}) << line;
}

TEST(StartupCommandLine, AFailingSwitchFallsThroughToTheWindow) {
    RecordingOperations operations;
    operations.failing = true;
    StartupArguments arguments;
    arguments.commandLine = QStringLiteral("/regplugin");
    EXPECT_EQ(MMain_Main(arguments, operations), StartupOutcome::RegistrationWindowShown);
    EXPECT_EQ(operations.calls,
              QStringList({QStringLiteral("register interactive=0"), QStringLiteral("window")}));
}

TEST(StartupCommandLine, AHostStartReadsNoCommandLineAndShowsNothing) {
    RecordingOperations operations;
    const StartupArguments arguments = StartupArguments::fromArguments(
        {QStringLiteral("/regplugin"), QStringLiteral("-Embedding")});
    EXPECT_TRUE(arguments.startedByHost);
    EXPECT_EQ(MMain_Main(arguments, operations), StartupOutcome::ServeAutomation);
    EXPECT_TRUE(operations.calls.isEmpty());
    EXPECT_TRUE(StartupArguments::fromArguments({QStringLiteral("/embedding")}).startedByHost);
}

TEST(StartupArguments, ArgumentsAreJoinedAndServerSwitchesRecognised) {
    const auto joined = StartupArguments::fromArguments(
        {QStringLiteral("/deregplugin"), QStringLiteral("/deregmode:1")});
    EXPECT_EQ(joined.commandLine, QStringLiteral("/deregplugin /deregmode:1"));
    EXPECT_FALSE(joined.startedByHost);
    EXPECT_TRUE(StartupArguments::fromArguments({QStringLiteral(" /RegServer")}).registerServer);
    EXPECT_TRUE(StartupArguments::fromArguments({QStringLiteral("/unregserver")}).unregisterServer);
}

TEST(PlugInIdentity, TextsComeFromTheStringTableAndTheVersion) {
    const PlugInIdentity& identity = Identity();
    EXPECT_EQ(identity.ProgID, QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI"));
    EXPECT_EQ(identity.Name, QStringLiteral("Zentaro PIR ready RM42xx Configure"));
    EXPECT_EQ(identity.Description,
              QStringLiteral("Configure the Zentaro PIR ready RM42xx series LonTalk® thermostat"));
    EXPECT_EQ(identity.ManufacturerName, QStringLiteral("Zentaro Inc."));
    EXPECT_EQ(identity.ManufacturerID, QStringLiteral("987"));
    EXPECT_EQ(identity.Version, QStringLiteral("%1.%2.%3")
                                    .arg(RM42_VERSION_MAJOR)
                                    .arg(RM42_VERSION_MINOR)
                                    .arg(RM42_VERSION_PATCH));
    EXPECT_EQ(PlugInIdentity::LcaVersion, QStringLiteral("3.0"));
}

} // namespace
