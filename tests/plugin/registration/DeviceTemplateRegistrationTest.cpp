// SPDX-License-Identifier: Apache-2.0
// Command registration in a network of the simulator laid out from the kit.
#include "registration/DeviceTemplateRegistration.h"

#include "../model/FakeLns.h"
#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "automation/PlugInState.h"
#include "lns/LnsCodes.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/SimResourceCatalog.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"
#include "platform/SettingsStore.h"
#include "registration/PlugInRegistration.h"
#include "support/PlugInIdentity.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString DeviceCommandName = QStringLiteral("Zentaro PIR ready RM42xx Device Configure");
const QString LonMarkCommandName =
    QStringLiteral("Zentaro PIR ready RM42xx LonMarkObject Configure");
const QString OtherPlugIn = QStringLiteral("Other.PlugIn");

// A template library in which other devices' templates hold every name a
// new template could take.
class NamedTemplate : public lns::DeviceTemplate {
public:
    explicit NamedTemplate(QString name) : m_name(std::move(name)) {}
    QString Name() const override { return m_name; }
    QString ProgramId() const override { return QString(); }
    void Import(const QString&) override { fake::unused(); }
    lns::Ref<lns::ComponentApps> ComponentApps() const override { fake::unused(); }
    lns::Ref<lns::Interface> Interface() const override { fake::unused(); }
    int AppDeviceCount() const override { return 1; }

private:
    QString m_name;
};

class CrowdedTemplates : public lns::DeviceTemplates {
public:
    explicit CrowdedTemplates(const QString& base) {
        names << base;
        for (int n = 1; n <= 1000; ++n)
            names << base + QStringLiteral(" (%1)").arg(n);
    }
    int Count() const override { return static_cast<int>(names.size()); }
    lns::Ref<lns::DeviceTemplate> Item(int index) const override {
        return std::make_shared<NamedTemplate>(names.at(index - 1));
    }
    lns::Ref<lns::DeviceTemplate> Item(const QString& name) const override {
        if (!names.contains(name))
            throw Error::lns(lns::Code::NotFound, QStringLiteral("DeviceTemplates"), name);
        return std::make_shared<NamedTemplate>(name);
    }
    lns::Ref<lns::DeviceTemplate> Add(const QString& name, int) override {
        throw Error::lns(lns::Code::AlreadyExists, QStringLiteral("DeviceTemplates"),
                         name + QStringLiteral(" exists already."));
    }
    void Remove(const QString& name) override { removed << name; }

    QStringList names;
    QStringList removed;
};

class CrowdedLibrary : public lns::TemplateLibrary {
public:
    explicit CrowdedLibrary(const QString& base)
        : templates(std::make_shared<CrowdedTemplates>(base)) {}
    lns::Ref<lns::DeviceTemplates> DeviceTemplates() const override { return templates; }

    std::shared_ptr<CrowdedTemplates> templates;
};

class CrowdedSystem : public fake::System {
public:
    CrowdedSystem(const QString& base, const QString& xifFolder)
        : library(std::make_shared<CrowdedLibrary>(base)), m_xifFolder(xifFolder) {}
    lns::Ref<lns::TemplateLibrary> TemplateLibrary() const override { return library; }
    QString XifFolder() const override { return Paths::toSystem(m_xifFolder); }

    std::shared_ptr<CrowdedLibrary> library;

private:
    QString m_xifFolder;
};

// A file dialog that cannot be shown.
class BrokenFileDialog : public ScriptedDialogs {
public:
    QString openFile(const FileRequest& request) override {
        ScriptedDialogs::openFile(request);
        throw Error(-1, QStringLiteral("Dialogs"),
                    QStringLiteral("The file dialog could not be shown."));
    }
};

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
    DeviceTemplateRegistrationContext context() { return context(dialogs); }
    DeviceTemplateRegistrationContext context(Dialogs& answering) {
        return {state,
                store,
                answering,
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
    // Converted in the import folder, not beside the user's file.
    EXPECT_FALSE(QFile::exists(root.path() + QStringLiteral("/elsewhere.XFB")));
    EXPECT_TRUE(QFile::exists(root.path() +
                              QStringLiteral("/LonWorks/Import/8003DB5500040421/elsewhere.XFB")));
}

TEST_F(CommandRegistrationTest, RemovalTakesTheCommandsAndOffersUnusedTemplatesWhenAsked) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    state.CurrentSystem->ComponentApps()
        ->Add(QStringLiteral("Register"), Identity().ProgID, 0)
        ->setCommandId(50);

    state.Interactive = false;
    EXPECT_TRUE(DeviceTemplateRegistration(context()).RemoveCommands(true, true));
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

TEST_F(CommandRegistrationTest, EveryFailureEndsInAMessageAndAFalseResult) {
    QFile::remove(xifFile());
    BrokenFileDialog broken;
    EXPECT_FALSE(DeviceTemplateRegistration(context(broken)).RegisterCommands());
    ASSERT_EQ(broken.messages.size(), 1);
    EXPECT_EQ(broken.messages[0].text, QStringLiteral("The file dialog could not be shown.\r\n"));
    EXPECT_EQ(broken.messages[0].icon, DialogIcon::Critical);

    state.CurrentSystem->Close();
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral("is not open.\r\n")))
        << dialogs.messages[0].text.toStdString();

    // No network at all: both commands say so and end.
    state.CurrentSystem.reset();
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RemoveCommands(false, true));
    EXPECT_EQ(dialogs.texts().mid(1), (QStringList{QStringLiteral("No network is open.\r\n"),
                                                   QStringLiteral("No network is open.")}));
}

TEST_F(CommandRegistrationTest, ACommandThatCannotBeAddedFailsTheRegistration) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    DeviceTemplateRegistration(context()).RemoveCommands(false, true);
    qint64 networkSize = 0;
    const QDir networkFolder(root.path() + QStringLiteral("/LonWorks/Databases/New Site"));
    for (const QFileInfo& file : networkFolder.entryInfoList(QDir::Files))
        networkSize = std::max(networkSize, file.size());
    ASSERT_GT(networkSize, 0);
    {
        // The network cannot grow: the LonMark object command cannot be added.
        const FileSizeLimit full(networkSize);
        EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    }
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join(u'|').toStdString();
    // Why, in the system's words.
    const QString text = dialogs.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("Cannot save "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << text.toStdString();
    const auto apps = templateApps();
    for (int i = 1; i <= apps->Count(); ++i)
        EXPECT_NE(apps->Item(i)->ObjectClassId(), 7) << "the device command is not added after it";
}

TEST_F(CommandRegistrationTest, AFailedImportRemovesOnlyATemplateItMade) {
    auto crowded = std::make_shared<CrowdedSystem>(
        QStringLiteral("Zentaro RM42_PIR"), root.path() + QStringLiteral("/LonWorks/Import"));
    state.CurrentSystem = crowded;
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(
        QStringLiteral("\r\nCould not import the external interface file ")));
    const QStringList& removed = crowded->library->templates->removed;
    EXPECT_TRUE(removed.isEmpty()) << removed.join(u'|').toStdString();
}

// A template this run made for a file that cannot be imported goes again:
// the library is as it was, also once the network is closed.
TEST_F(CommandRegistrationTest, AFailedImportLeavesNoNewTemplateInTheLibrary) {
    // The converted file of an earlier run stays; the file itself is damaged since.
    const QString converted = QString(xifFile()).replace(QStringLiteral(".XIF"), ".XFB");
    ASSERT_EQ(QProcess::execute(root.path() + QStringLiteral("/LonWorks/bin/XIF32BIN"),
                                {xifFile(), converted}),
              0);
    QFile xif(xifFile());
    ASSERT_TRUE(xif.open(QIODevice::ReadWrite));
    ASSERT_TRUE(xif.resize(xif.size() - 3));
    xif.close();
    EXPECT_FALSE(DeviceTemplateRegistration(context()).RegisterCommands());
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join(u'|').toStdString();
    EXPECT_TRUE(dialogs.messages[0].text.contains(
        QStringLiteral("Could not import the external interface file ")));
    EXPECT_EQ(templates()->Count(), 0);
    state.CurrentNetwork->Close();
    openNetwork(QStringLiteral("New Site"));
    EXPECT_EQ(templates()->Count(), 0);
}

TEST_F(CommandRegistrationTest, DefaultActionDecisionsLastForOneRunOnly) {
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    EXPECT_TRUE(templateApps()->Item(DeviceCommandName)->DefaultAction());
    for (SupportedCommand& record : state.SupportedCommands)
        record.DefaultAction = false;
    ASSERT_TRUE(DeviceTemplateRegistration(context()).RegisterCommands());
    EXPECT_EQ(appNames(templateApps()), (QStringList{LonMarkCommandName, DeviceCommandName}));
}

} // namespace
