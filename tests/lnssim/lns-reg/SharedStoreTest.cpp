// SPDX-License-Identifier: Apache-2.0
// The settings store and the networks as several users and processes share
// them: read-only roots, stores that cannot be used, racing writers, listings
// of stored texts.
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("HKLM\\SOFTWARE\\Shared");

ProcessResult reg(const QStringList& arguments) {
    return runProgram(QStringLiteral("lns-reg"), arguments);
}

TEST(SharedStore, AStoreThatMayOnlyBeReadAnswersReadsAndRefusesWritesWithTheReason) {
    TempPlatformRoot root;
    ASSERT_EQ(reg({QStringLiteral("add"), Key, QStringLiteral("/v"), QStringLiteral("V"),
                   QStringLiteral("/d"), QStringLiteral("value")})
                  .exitCode,
              0);
    // Readable by everyone, writable by nobody but its owner.
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther |
                          QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    for (const QString& path : QDir(root.path()).entryList(QDir::Files))
        QFile::setPermissions(root.path() + u'/' + path,
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(root.path(), readOnly);

    const ProcessResult query = runAsReader(QStringLiteral("lns-reg"),
                                            {QStringLiteral("query"), Key, QStringLiteral("/v"),
                                             QStringLiteral("V")});
    EXPECT_EQ(query.exitCode, 0) << qPrintable(query.err);
    EXPECT_TRUE(query.out.contains(QStringLiteral("REG_SZ    value")));

    const ProcessResult write = runAsReader(
        QStringLiteral("lns-reg"), {QStringLiteral("add"), Key, QStringLiteral("/v"),
                                    QStringLiteral("W"), QStringLiteral("/d"), QStringLiteral("x")});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(write.err.contains(QStringLiteral("readonly"))) << qPrintable(write.err);

    const ProcessResult plugins = runAsReader(QStringLiteral("lns-host"), {QStringLiteral("plugins")});
    EXPECT_EQ(plugins.exitCode, 0) << qPrintable(plugins.err);
    QFile::setPermissions(root.path(), readOnly | QFile::WriteOwner);
}

// Every file and folder under `path` read-only, or writable again by its owner.
void setTreeWritable(const QString& path, bool writable) {
    const auto read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto write = writable ? QFile::WriteOwner : QFile::Permissions();
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        QFile::setPermissions(path, read | enter | write);
        for (const QString& name : QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            setTreeWritable(path + u'/' + name, writable);
    } else if (!info.isSymLink()) {
        QFile::setPermissions(path, read | write);
    }
}

TEST(SharedStore, AReadOnlyRootAnswersReadsOfItsNetworksAndRefusesWritesWithTheReason) {
    TempPlatformRoot root;
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    QTemporaryDir elsewhere;
    QFile::setPermissions(elsewhere.path(), QFile::Permissions(0x7777));
    setTreeWritable(root.path(), false);
    const QString demo = QStringLiteral("Demo Building");

    const ProcessResult browse =
        runAsReader(QStringLiteral("lns-host"),
                    {QStringLiteral("browse"), demo, QStringLiteral("Floor 1/RTU-1")});
    EXPECT_EQ(browse.exitCode, 0) << qPrintable(browse.err);
    EXPECT_TRUE(browse.out.contains(QStringLiteral("Floor 1 North Office")))
        << qPrintable(browse.out);
    const ProcessResult show = runAsReader(QStringLiteral("rm42-config"),
                                           {QStringLiteral("show"), demo, QStringLiteral("RTU-1")});
    EXPECT_EQ(show.exitCode, 0) << qPrintable(show.err);
    const QString exported = elsewhere.path() + QStringLiteral("/demo.json");
    const ProcessResult exporting =
        runAsReader(QStringLiteral("lns-host"), {QStringLiteral("export"), demo, exported});
    EXPECT_EQ(exporting.exitCode, 0) << qPrintable(exporting.err);
    EXPECT_GT(QFileInfo(exported).size(), 1000);

    const ProcessResult set = runAsReader(QStringLiteral("rm42-config"),
                                          {QStringLiteral("set"), demo, QStringLiteral("RTU-1"),
                                           QStringLiteral("occ_cool_setpts=73")});
    EXPECT_NE(set.exitCode, 0);
    EXPECT_TRUE((set.out + set.err).contains(QStringLiteral("readonly")))
        << qPrintable(set.out + set.err);
    setTreeWritable(root.path(), true);
}

TEST(SharedStore, AStoreThatCannotBeUsedIsNamedWithItsReasonInsteadOfSendingUsersToSetup) {
    TempPlatformRoot root;
    QFile garbage(root.settingsStoreFile());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const QString demo = QStringLiteral("Demo Building");
    for (const ProcessResult& refused :
         {runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), demo}),
          runProgram(QStringLiteral("rm42-config"),
                     {QStringLiteral("show"), demo, QStringLiteral("RTU-1")})}) {
        EXPECT_NE(refused.exitCode, 0);
        EXPECT_TRUE(refused.err.contains(root.settingsStoreFile()) &&
                    refused.err.contains(QStringLiteral("file is not a database")))
            << qPrintable(refused.err);
        EXPECT_FALSE(refused.err.contains(QStringLiteral("lns-host setup")));
    }

    // A relative root used from another folder: the store looked for is named, none is made.
    QTemporaryDir other;
    QProcess browse;
    browse.setWorkingDirectory(other.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LNS_PLATFORM_ROOT"), QStringLiteral("platform"));
    browse.setProcessEnvironment(environment);
    browse.start(programPath(QStringLiteral("lns-host")), {QStringLiteral("browse"), demo});
    ASSERT_TRUE(endedInTime(browse));
    EXPECT_EQ(browse.exitCode(), 1);
    const QString missing = other.path() + QStringLiteral("/platform/registry.sqlite3");
    EXPECT_TRUE(QString::fromUtf8(browse.readAllStandardError()).contains(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(SharedStore, OfWritersRacingForANewValueExactlyOneWins) {
    TempPlatformRoot root;
    ASSERT_EQ(reg({QStringLiteral("add"), Key}).exitCode, 0);
    for (int round = 0; round < 10; ++round) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int writer = 0; writer < 4; ++writer) {
            auto process = std::make_unique<QProcess>();
            process->start(programPath(QStringLiteral("lns-reg")),
                           {QStringLiteral("add"), Key, QStringLiteral("/v"),
                            QStringLiteral("R%1").arg(round), QStringLiteral("/d"),
                            QString::number(writer)});
            writers.push_back(std::move(process));
        }
        int won = 0;
        for (const auto& process : writers) {
            won += endedInTime(*process) && process->exitCode() == 0 ? 1 : 0;
        }
        EXPECT_EQ(won, 1) << "round " << round;
    }
}

TEST(SharedStore, ListingsShowControlCharactersAsEscapes) {
    TempPlatformRoot root;
    const QString plugIn = QStringLiteral("HKLM\\SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Forged");
    ASSERT_EQ(reg({QStringLiteral("add"), plugIn, QStringLiteral("/v"), QStringLiteral("Version"),
                   QStringLiteral("/d"), QStringLiteral("1.0\nEvil\tplug-in\t9.9")})
                  .exitCode,
              0);
    const ProcessResult query = reg({QStringLiteral("query"), plugIn});
    EXPECT_TRUE(query.out.contains(QStringLiteral("REG_SZ    1.0\\nEvil\\tplug-in\\t9.9\n")))
        << qPrintable(query.out);
    const ProcessResult plugins = runProgram(QStringLiteral("lns-host"), {QStringLiteral("plugins")});
    EXPECT_EQ(plugins.out.count(u'\n'), 1) << qPrintable(plugins.out);
    EXPECT_EQ(plugins.out.count(u'\t'), 2) << qPrintable(plugins.out);
}

TEST(SharedStore, AKeyNameThatIsNotUtf8IsAUsageError) {
    TempPlatformRoot root;
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("\"%1\" add \"HKLM\\\\A$(printf '\\377')\"").arg(programPath(QStringLiteral("lns-reg")))});
    ASSERT_TRUE(endedInTime(shell));
    EXPECT_EQ(shell.exitCode(), 2) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(reg({QStringLiteral("query"), QStringLiteral("HKLM")}).out.count(u'\n'), 1);
}

} // namespace
