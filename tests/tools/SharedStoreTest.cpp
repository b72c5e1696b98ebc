// The settings store as several users and processes share it: read-only
// roots, racing writers, listings of stored texts.
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString Key = QStringLiteral("HKLM\\SOFTWARE\\Shared");

ProcessResult reg(const QStringList& arguments) {
    return runProgram(QStringLiteral("lns-reg"), arguments);
}

// Waits for a started program to end by itself; one that hangs is killed
// and fails the test, so that it cannot pass for one that succeeded.
bool endedInTime(QProcess& process) {
    if (process.waitForFinished(60000))
        return process.exitStatus() == QProcess::NormalExit;
    ADD_FAILURE() << qPrintable(process.program()) << " did not end";
    process.kill();
    process.waitForFinished();
    return false;
}

// Runs a program of this build as a user who may only read the root: as
// "nobody" when the tests run as root (who may write anything), else as the
// current user once the root is made read-only.
ProcessResult runAsReader(const QString& program, const QStringList& arguments) {
    if (geteuid() != 0)
        return runProgram(program, arguments);
    QProcess process;
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), programPath(program)} +
                      arguments);
    const bool ended = endedInTime(process);
    return {ended ? process.exitCode() : -1, !ended,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
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
