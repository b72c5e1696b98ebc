// SPDX-License-Identifier: Apache-2.0
// The check, before a device is configured, that the maker's resource files
// are in the LonMark resource catalog of a LonWorks folder laid out by setup.
#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "automation/PlugInState.h"
#include "model/Specific.h"
#include "objectserver/SimResourceCatalog.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "registration/ResourceCatalogRegistration.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

#include <gtest/gtest.h>

namespace {

// The simulated catalog, with every call noted and Open failing as often as told.
struct CatalogUse {
    QStringList calls;
    int openFailures = 0;
};

class NotedCatalog : public lns::ResourceCatalog {
public:
    explicit NotedCatalog(CatalogUse& use) : m_use(use) {}
    int Open(const QString& typesFolder, int mode) override {
        m_use.calls << QStringLiteral("Open %1").arg(mode);
        if (m_use.openFailures > 0) {
            --m_use.openFailures;
            throw Error(70, QStringLiteral("ResourceCatalog"), QStringLiteral("Permission denied"));
        }
        return m_catalog.Open(typesFolder, mode);
    }
    int Close() override {
        m_use.calls << QStringLiteral("Close");
        return m_catalog.Close();
    }
    int FindResourceSet(const QString& programIdScope, int scope, int selector,
                        int options) override {
        m_use.calls << QStringLiteral("FindResourceSet %1 %2").arg(programIdScope).arg(scope);
        return m_catalog.FindResourceSet(programIdScope, scope, selector, options);
    }
    int AddFolder(const QString& folder) override { return m_catalog.AddFolder(folder); }
    int Update() override { return m_catalog.Update(); }
    int OpenFile(const QString& programId, int scope, int fileKind) override {
        return m_catalog.OpenFile(programId, scope, fileKind);
    }
    bool HasTypeIndex(int typeIndex) override { return m_catalog.HasTypeIndex(typeIndex); }
    int CloseFile() override { return m_catalog.CloseFile(); }

private:
    CatalogUse& m_use;
    lns::sim::SimResourceCatalog m_catalog;
};

class ResourceCatalogCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        InitResourceLocation(Specific::process(), store);
    }
    ResourceCatalogRegistration catalog() {
        return ResourceCatalogRegistration(state, store, dialogs,
                                           [this] { return std::make_unique<NotedCatalog>(use); });
    }

    TempPlatformRoot root;
    SettingsStore store{root.settingsStoreFile()};
    ScriptedDialogs dialogs;
    PlugInState state;
    CatalogUse use;
};

const QStringList OneLook{QStringLiteral("Open 1"),
                          QStringLiteral("FindResourceSet 8003DB5500000000 4"),
                          QStringLiteral("Close")};

TEST_F(ResourceCatalogCheck, AnswersFromTheCatalogAndAfterOneSuccessStopsLooking) {
    EXPECT_FALSE(catalog().Check()) << "setup does not register the maker's folder";
    EXPECT_FALSE(state.ResourceFilesPresent);
    EXPECT_EQ(use.calls, OneLook);

    ASSERT_TRUE(catalog().Register(false));
    use.calls.clear();
    EXPECT_TRUE(catalog().Check());
    EXPECT_TRUE(state.ResourceFilesPresent);
    EXPECT_EQ(use.calls, OneLook);

    use.calls.clear();
    CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                    QStringLiteral("LonWorks Path"), QStringLiteral("C:\\Nowhere"));
    EXPECT_TRUE(catalog().Check());
    EXPECT_TRUE(use.calls.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ResourceCatalogCheck, ACatalogThatCannotBeOpenedMeansNoFilesWithoutAQuestion) {
    CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                    QStringLiteral("LonWorks Path"), QStringLiteral("C:\\Nowhere"));
    EXPECT_FALSE(catalog().Check());
    EXPECT_EQ(use.calls, QStringList{QStringLiteral("Open 1")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ResourceCatalogCheck, AFailureAsksAndOnlyALookThatRanToItsEndFindsTheFiles) {
    ASSERT_TRUE(catalog().Register(false));
    for (DialogAnswer answer : {DialogAnswer::Ignore, DialogAnswer::Abort}) {
        use.openFailures = 1;
        dialogs.queueAnswer(answer);
        EXPECT_FALSE(catalog().Check());
        EXPECT_FALSE(state.ResourceFilesPresent);
    }
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Permission denied"));
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::AbortRetryIgnore);
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::Critical);
    EXPECT_EQ(dialogs.messages[0].title, PlugInIdentity::ApplicationTitle);

    use.openFailures = 1;
    use.calls.clear();
    dialogs.queueAnswer(DialogAnswer::Retry);
    EXPECT_TRUE(catalog().Check());
    EXPECT_EQ(use.calls, QStringList{QStringLiteral("Open 1")} + OneLook);
}

} // namespace
