// SPDX-License-Identifier: Apache-2.0
#include "platform/SettingsStore.h"

#include "FileSizeLimit.h"
#include "TestEnvironment.h"
#include "platform/Error.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("SOFTWARE\\LonWorks\\LCA");

class SettingsStoreTest : public ::testing::Test {
protected:
    TempPlatformRoot root;
    SettingsStore store{root.settingsStoreFile()};
};

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndKeepTheirCreatedCase) {
    store.setValue(Hive::LocalMachine, Key,
                   RegistryValue::string(QStringLiteral("LonWorks Path"), QStringLiteral("/a")));
    store.setValue(Hive::LocalMachine, QStringLiteral("software\\LONWORKS\\lca"),
                   RegistryValue::string(QStringLiteral("lonworks path"), QStringLiteral("/b")));

    const auto value = store.value(Hive::LocalMachine, QStringLiteral("Software\\Lonworks\\Lca"),
                                   QStringLiteral("LONWORKS PATH"));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text(), QStringLiteral("/b"));
    EXPECT_EQ(value->name, QStringLiteral("LonWorks Path"));
    EXPECT_EQ(store.storedPath(Hive::LocalMachine, QStringLiteral("software\\lonworks\\lca")), Key);
    EXPECT_EQ(store.values(Hive::LocalMachine, Key)->size(), 1);
}

TEST_F(SettingsStoreTest, HivesAreSeparate) {
    store.setValue(Hive::CurrentUser, Key,
                   RegistryValue::string(QStringLiteral("v"), QStringLiteral("user")));
    EXPECT_FALSE(store.keyExists(Hive::LocalMachine, Key));
    EXPECT_FALSE(store.value(Hive::ClassesRoot, Key, QStringLiteral("v")));
    EXPECT_TRUE(store.value(Hive::CurrentUser, Key, QStringLiteral("v")));
}

TEST_F(SettingsStoreTest, ValuesKeepTheirTypeAndData) {
    const QString withNul = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after");
    store.setValue(Hive::LocalMachine, Key, RegistryValue::string(QString(), withNul));
    store.setValue(Hive::LocalMachine, Key,
                   RegistryValue::dword(QStringLiteral("Number"), 0xDEADBEEF));
    store.setValue(Hive::LocalMachine, Key,
                   RegistryValue::binary(QStringLiteral("Bytes"), QByteArray("\x00\x01\xff", 3)));

    const auto values = store.values(Hive::LocalMachine, Key);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 3);
    EXPECT_EQ(values->at(0).text(), withNul);
    EXPECT_EQ(values->at(1).type, ValueType::DWord);
    EXPECT_EQ(values->at(1).number(), 0xDEADBEEFu);
    EXPECT_EQ(values->at(2).data, QByteArray("\x00\x01\xff", 3));
}

TEST_F(SettingsStoreTest, KeyDeletionFollowsThePlatform) {
    store.createKey(Hive::LocalMachine, Key + QStringLiteral("\\Plug-Ins\\A\\Deep"));
    store.setValue(Hive::LocalMachine, Key + QStringLiteral("\\Plug-Ins\\A"),
                   RegistryValue::string(QStringLiteral("x"), QStringLiteral("y")));

    EXPECT_FALSE(store.deleteKey(Hive::LocalMachine, Key + QStringLiteral("\\Plug-Ins\\A")))
        << "a key with sub-keys stays";
    EXPECT_TRUE(store.deleteTree(Hive::LocalMachine, Key + QStringLiteral("\\plug-ins")));
    EXPECT_FALSE(store.keyExists(Hive::LocalMachine, Key + QStringLiteral("\\Plug-Ins\\A\\Deep")));
    EXPECT_TRUE(store.keyExists(Hive::LocalMachine, Key));
    EXPECT_FALSE(store.deleteTree(Hive::LocalMachine, Key + QStringLiteral("\\Plug-Ins")));
    EXPECT_FALSE(store.deleteKey(Hive::LocalMachine, QString())) << "a hive cannot be deleted";
}

TEST_F(SettingsStoreTest, SubKeysAreListedWithoutRegardToCase) {
    for (const char* name : {"beta", "Alpha", "gamma"})
        store.createKey(Hive::LocalMachine, Key + QLatin1Char('\\') + QLatin1String(name));
    EXPECT_EQ(
        *store.subKeys(Hive::LocalMachine, Key),
        QStringList({QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
    EXPECT_FALSE(store.subKeys(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Missing")));
}

TEST(SettingsStoreConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
    TempPlatformRoot root;
    QProcess first;
    QProcess second;
    first.start(programPath(QStringLiteral("store-writer")),
                {root.settingsStoreFile(), QStringLiteral("first"), QStringLiteral("1000")});
    second.start(programPath(QStringLiteral("store-writer")),
                 {root.settingsStoreFile(), QStringLiteral("second"), QStringLiteral("1000")});
    ASSERT_TRUE(first.waitForFinished(120000));
    ASSERT_TRUE(second.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();

    SettingsStore store(root.settingsStoreFile());
    const auto values = store.values(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Concurrent"));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->size(), 2000);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void expectUnusableStoreNamed(const QString& file, const QString& key = Key) {
    SettingsStore store(file);
    try {
        store.values(Hive::LocalMachine, key);
        FAIL() << "an unusable store was read";
    } catch (const Error& error) {
        EXPECT_TRUE(error.description().contains(file)) << error.description().toStdString();
    }
}

TEST(SettingsStoreFailures, GarbageFileIsReportedWithItsName) {
    TempPlatformRoot root;
    writeFile(root.settingsStoreFile(), QByteArray(4096, '\x5a'));
    expectUnusableStoreNamed(root.settingsStoreFile());
}

TEST(SettingsStoreFailures, TruncatedDatabaseIsReportedWithItsName) {
    TempPlatformRoot root;
    {
        SettingsStore store(root.settingsStoreFile());
        for (int n = 0; n < 200; ++n)
            store.setValue(
                Hive::LocalMachine, Key + QStringLiteral("\\K%1").arg(n),
                RegistryValue::string(QStringLiteral("v"), QString(200, QLatin1Char('x'))));
    }
    QFile::remove(root.settingsStoreFile() + QStringLiteral("-wal"));
    QFile::remove(root.settingsStoreFile() + QStringLiteral("-shm"));
    QFile file(root.settingsStoreFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 3));
    file.close();

    expectUnusableStoreNamed(root.settingsStoreFile(), Key + QStringLiteral("\\K150"));
}

TEST(SettingsStoreFailures, RootThroughARegularFileIsReportedWithItsName) {
    TempPlatformRoot root;
    writeFile(root.path() + QStringLiteral("/plain"), "not a folder");
    expectUnusableStoreNamed(root.path() + QStringLiteral("/plain/registry.sqlite3"));
}

// A write that fails inside its transaction (a full disk) lets the
// transaction go: the same store writes again at once, and another process
// writes without waiting for it.
TEST(SettingsStoreFailures, AFailedWriteLeavesTheStoreFreeForTheNextOne) {
    TempPlatformRoot root;
    SettingsStore store(root.settingsStoreFile());
    store.setValue(Hive::LocalMachine, Key, RegistryValue::string(QStringLiteral("small"), "1"));
    {
        // More than the page cache holds, so the pages reach the disk inside the write.
        const FileSizeLimit fullDisk(64 * 1024);
        EXPECT_THROW(store.setValue(Hive::LocalMachine, Key,
                                    RegistryValue::binary(QStringLiteral("big"),
                                                          QByteArray(4 * 1024 * 1024, 'x'))),
                     Error);
    }
    store.setValue(Hive::LocalMachine, Key, RegistryValue::string(QStringLiteral("next"), "2"));
    QElapsedTimer timer;
    timer.start();
    QProcess other;
    other.start(programPath(QStringLiteral("store-writer")),
                {root.settingsStoreFile(), QStringLiteral("other"), QStringLiteral("1")});
    ASSERT_TRUE(other.waitForFinished(60000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().constData();
    EXPECT_LT(timer.elapsed(), 10000) << "the other process waited for a lock left behind";
    const auto values = store.values(Hive::LocalMachine, Key);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->size(), 2);
}

} // namespace
