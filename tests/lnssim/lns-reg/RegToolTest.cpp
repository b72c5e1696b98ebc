// SPDX-License-Identifier: Apache-2.0
#include "RegTool.h"

#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status;
    QString out;
    QString err;
};

class RegToolTest : public ::testing::Test {
protected:
    ToolRun reg(const QStringList& arguments) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int status = runRegTool(arguments, root.settingsStoreFile(), outStream, errStream);
        outStream.flush();
        errStream.flush();
        return {status, out, err};
    }
    TempPlatformRoot root;
};

TEST_F(RegToolTest, QueryListsValuesThenSubKeys) {
    ASSERT_EQ(
        reg({"add", "HKLM\\SOFTWARE\\LonWorks", "/v", "LonWorks Path", "/d", "/opt/lon works"})
            .status,
        0);
    ASSERT_EQ(reg({"add", "HKEY_LOCAL_MACHINE\\software\\lonworks", "/ve", "/d", "default"}).status,
              0);
    ASSERT_EQ(
        reg({"add", "hklm\\SOFTWARE\\LonWorks", "/v", "Count", "/t", "REG_DWORD", "/d", "0x1F"})
            .status,
        0);
    ASSERT_EQ(
        reg({"add", "HKLM\\SOFTWARE\\LonWorks", "/v", "Blob", "/t", "reg_binary", "/d", "00ff10"})
            .status,
        0);
    ASSERT_EQ(reg({"add", "HKLM\\SOFTWARE\\LonWorks\\LCA"}).status, 0);

    const ToolRun query = reg({"query", "HKLM\\SOFTWARE\\LONWORKS"});
    EXPECT_EQ(query.status, 0);
    EXPECT_EQ(query.out, QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks\n"
                                        "    LonWorks Path    REG_SZ    /opt/lon works\n"
                                        "    (Default)    REG_SZ    default\n"
                                        "    Count    REG_DWORD    0x1f\n"
                                        "    Blob    REG_BINARY    00FF10\n"
                                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks\\LCA\n"));
    EXPECT_EQ(reg({"query", "HKLM\\SOFTWARE\\LonWorks", "/ve"}).out,
              QStringLiteral(
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks\n    (Default)    REG_SZ    default\n"));
}

TEST_F(RegToolTest, AddDoesNotOverwriteWithoutForce) {
    ASSERT_EQ(reg({"add", "HKCU\\K", "/v", "V", "/d", "one"}).status, 0);
    EXPECT_EQ(reg({"add", "HKCU\\K", "/v", "V", "/d", "two"}).status, 1);
    EXPECT_EQ(reg({"add", "HKCU\\K", "/v", "v", "/d", "two", "/f"}).status, 0);
    EXPECT_TRUE(
        reg({"query", "HKCU\\K", "/v", "V"}).out.endsWith(QStringLiteral("REG_SZ    two\n")));
}

TEST_F(RegToolTest, ALongBinaryValueIsStoredWhole) {
    const QString hex = QStringLiteral("0A").repeated(100 * 1024);
    ASSERT_EQ(reg({"add", "HKLM\\K", "/v", "Blob", "/t", "REG_BINARY", "/d", hex}).status, 0);
    EXPECT_TRUE(reg({"query", "HKLM\\K", "/v", "Blob"}).out.contains(hex));
}

TEST_F(RegToolTest, DeleteRemovesValuesAndWholeKeys) {
    ASSERT_EQ(reg({"add", "HKCR\\A\\B\\C", "/v", "V", "/d", "x"}).status, 0);
    EXPECT_EQ(reg({"delete", "HKCR\\A\\B\\C", "/v", "V", "/f"}).status, 0);
    EXPECT_EQ(reg({"query", "HKCR\\A\\B\\C", "/v", "V"}).status, 1);
    EXPECT_EQ(reg({"delete", "HKCR\\A", "/f"}).status, 0);
    EXPECT_EQ(reg({"query", "HKCR\\A\\B"}).status, 1);
    EXPECT_EQ(reg({"delete", "HKCR\\A", "/f"}).status, 1);
}

TEST_F(RegToolTest, MissingKeysAndValuesExitWithOne) {
    const ToolRun missing = reg({"query", "HKLM\\SOFTWARE\\Nothing"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nothing")));
    EXPECT_EQ(reg({"query", "HKLM", "/v", "nothing"}).status, 1);
}

TEST_F(RegToolTest, FailuresNameTheToolWhatFailedAndWhyAndHelpGoesToStandardOutput) {
    EXPECT_EQ(reg({"query", "HKLM\\SOFTWARE\\Nothing"}).err,
              QStringLiteral("lns-reg: query HKEY_LOCAL_MACHINE\\SOFTWARE\\Nothing: the key does "
                             "not exist\n"));
    ASSERT_EQ(reg({"add", "HKCU\\A", "/v", "x", "/d", "1"}).status, 0);
    EXPECT_EQ(reg({"add", "HKCU\\A", "/v", "x", "/d", "2"}).err,
              QStringLiteral("lns-reg: add HKEY_CURRENT_USER\\A: the value exists; give /f to "
                             "overwrite it\n"));

    const ToolRun help = reg({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage:\n  lns-reg query KEY")));
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_EQ(reg({"--version"}).out, QStringLiteral("lns-reg %1.%2.%3\n")
                                          .arg(RM42_VERSION_MAJOR)
                                          .arg(RM42_VERSION_MINOR)
                                          .arg(RM42_VERSION_PATCH));
}

TEST_F(RegToolTest, UsageErrorsExitWithTwo) {
    const QList<QStringList> misuses = {
        {},
        {"list", "HKLM"},
        {"query"},
        {"query", "HKXX\\Key"},
        {"add", "HKLM\\K", "/v"},
        {"add", "HKLM\\K", "/v", "V", "/t", "REG_QWORD"},
        {"add", "HKLM\\K", "/v", "V", "/t", "REG_DWORD", "/d", "twelve"},
        {"add", "HKLM\\K", "/v", "V", "/t", "REG_BINARY", "/d", "0g"},
        {"add", "HKLM\\K", "/d", "data"},
        {"add", "HKLM\\K", "/v", "A", "/ve"},
        {"delete", "HKLM\\K"},
        {"delete", "HKLM", "/f"},
        {"query", "HKLM", "/bogus"},
    };
    for (const QStringList& arguments : misuses)
        EXPECT_EQ(reg(arguments).status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
}

TEST_F(RegToolTest, AnUnusableStoreExitsWithOneNamingTheFile) {
    QFile garbage(root.settingsStoreFile());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(1024, 'G'));
    garbage.close();
    const ToolRun run = reg({"query", "HKLM\\SOFTWARE"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(root.settingsStoreFile())) << run.err.toStdString();
}

TEST(RegToolProgram, ARootThroughARegularFileExitsWithOneNamingTheFile) {
    TempPlatformRoot root;
    QFile plain(root.path() + QStringLiteral("/plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    qputenv("LNS_PLATFORM_ROOT", plain.fileName().toUtf8());
    const ProcessResult run =
        runProgram(QStringLiteral("lns-reg"), {QStringLiteral("query"), QStringLiteral("HKLM")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(plain.fileName() + QStringLiteral("/registry.sqlite3")))
        << run.err.toStdString();
}

} // namespace
