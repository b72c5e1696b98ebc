// SPDX-License-Identifier: Apache-2.0
#include "support/CRegistry.h"

#include "TestEnvironment.h"
#include "platform/SettingsStore.h"
#include "support/PlugInIdentity.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString Section = QStringLiteral("SOFTWARE\\LonWorks");

class CRegistryTest : public ::testing::Test {
protected:
    TempPlatformRoot root;
    SettingsStore store{root.settingsStoreFile()};
    CRegistry registry{store};
};

TEST_F(CRegistryTest, WrittenSettingsReadBack) {
    registry.MachineSetting(QStringLiteral("SOFTWARE\\New\\Deep\\Key"),
                            QStringLiteral("LonWorks Path"), QStringLiteral("/opt/lon"));
    EXPECT_EQ(registry.MachineSetting(QStringLiteral("software\\new\\deep\\key"),
                                      QStringLiteral("lonworks path")),
              QStringLiteral("/opt/lon"));
    EXPECT_EQ(registry.ErrorNumber(), 0);
}

TEST_F(CRegistryTest, ReadsGiveEmptyTextForAnythingButAStoredString) {
    store.setValue(Hive::LocalMachine, Section,
                   RegistryValue::string(QStringLiteral("Empty"), QString()));
    store.setValue(Hive::LocalMachine, Section, RegistryValue::dword(QStringLiteral("Number"), 42));
    store.setValue(Hive::LocalMachine, Section,
                   RegistryValue::binary(QStringLiteral("Bytes"), "abcd"));
    for (const char* name : {"Empty", "Number", "Bytes", "Missing"})
        EXPECT_EQ(registry.MachineSetting(Section, QLatin1String(name)), QString()) << name;
    EXPECT_EQ(registry.MachineSetting(QStringLiteral("SOFTWARE\\Nowhere"), QStringLiteral("x")),
              QString());
}

TEST_F(CRegistryTest, AStringIsCutAtItsFirstNul) {
    store.setValue(
        Hive::LocalMachine, Section,
        RegistryValue::string(QStringLiteral("Cut"),
                              QStringLiteral("C:\\Lon") + QChar(u'\0') + QStringLiteral("rest")));
    EXPECT_EQ(registry.MachineSetting(Section, QStringLiteral("Cut")), QStringLiteral("C:\\Lon"));
}

TEST_F(CRegistryTest, AppSettingsLiveUnderTheAppletsKeyOfTheCurrentUser) {
    registry.AppSetting(QStringLiteral("Units"), QStringLiteral("DisplayUnits"),
                        QStringLiteral("1"));
    const QString key = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Applets\\") + Identity().Name +
                        QStringLiteral("\\Units");
    const auto value = store.value(Hive::CurrentUser, key, QStringLiteral("DisplayUnits"));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text(), QStringLiteral("1"));
    EXPECT_EQ(registry.AppSetting(QStringLiteral("Units"), QStringLiteral("DisplayUnits")),
              QStringLiteral("1"));
    EXPECT_EQ(registry.MachineSetting(key, QStringLiteral("DisplayUnits")), QString());
}

TEST_F(CRegistryTest, DeleteMachineKeyRemovesTheWholeTree) {
    const QString plugIn = QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\P");
    for (const char* child : {"\\A\\B\\C", "\\A\\D", "\\E"})
        store.createKey(Hive::LocalMachine, plugIn + QLatin1String(child));
    EXPECT_TRUE(registry.DeleteMachineKey(plugIn));
    EXPECT_FALSE(store.keyExists(Hive::LocalMachine, plugIn));
    EXPECT_TRUE(
        store.keyExists(Hive::LocalMachine, QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins")));
    EXPECT_FALSE(registry.DeleteMachineKey(plugIn));
}

TEST_F(CRegistryTest, EnumerationEndsWithEmptyTextAndStaysThere) {
    for (const char* child : {"\\One", "\\Two"})
        store.createKey(Hive::LocalMachine, Section + QLatin1String(child));
    EXPECT_EQ(registry.FindFirstMachineKey(Section), QStringLiteral("One"));
    EXPECT_EQ(registry.GetNextMachineKey(), QStringLiteral("Two"));
    EXPECT_EQ(registry.GetNextMachineKey(), QString());
    EXPECT_EQ(registry.GetNextMachineKey(), QString());
    EXPECT_EQ(registry.FindFirstMachineKey(QStringLiteral("SOFTWARE\\Missing")), QString());
    EXPECT_EQ(registry.GetNextMachineKey(), QString());
}

TEST(CRegistryOnAnUnusableStore, ReadsAreEmptyAndWritesLeaveTheErrorNumber) {
    TempPlatformRoot root;
    {
        QFile garbage(root.settingsStoreFile());
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(2048, '\x07'));
    }
    SettingsStore store(root.settingsStoreFile());
    CRegistry registry(store);
    EXPECT_EQ(registry.MachineSetting(Section, QStringLiteral("LonWorks Path")), QString());
    EXPECT_EQ(registry.AppSetting(QStringLiteral("Units"), QStringLiteral("DisplayUnits")),
              QString());
    EXPECT_FALSE(registry.DeleteMachineKey(Section));
    EXPECT_EQ(registry.FindFirstMachineKey(Section), QString());
    registry.MachineSetting(Section, QStringLiteral("LonWorks Path"), QStringLiteral("/x"));
    EXPECT_EQ(registry.ErrorNumber(), CRegistry::WriteFailed);
    EXPECT_EQ(static_cast<quint32>(CRegistry::WriteFailed), 0x80040201u);
}

} // namespace
