// SPDX-License-Identifier: Apache-2.0
// lns-host setup as kills, rival runs, links and odd platform roots meet it:
// the LonWorks folder is whole at every moment and nothing outside it goes.
#include "FileSizeLimit.h"
#include "OpenDemo.h"
#include "TestEnvironment.h"
#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace {

const QStringList Force{QStringLiteral("--force")};

ProcessResult setup(const QStringList& options = {}) {
    return runProgram(QStringLiteral("lns-host"), QStringList{QStringLiteral("setup")} + options);
}

std::unique_ptr<QProcess> startForcedSetup() {
    auto run = std::make_unique<QProcess>();
    run->start(programPath(QStringLiteral("lns-host")),
               {QStringLiteral("setup"), QStringLiteral("--force")});
    run->waitForStarted();
    return run;
}

// The folder as its users meet it: each network and the kit's files are there
// and the demo network answers.
void expectWhole(const QString& lonWorks) {
    for (const char* network : {"Demo Building", "New Site", "Offnet Site"})
        EXPECT_TRUE(QFileInfo::exists(lonWorks + QStringLiteral("/Databases/") +
                                      QLatin1String(network) + QStringLiteral("/network.sqlite3")))
            << network;
    EXPECT_TRUE(QFileInfo::exists(lonWorks + QStringLiteral("/Types/catalog.json")));
    EXPECT_TRUE(QFileInfo(lonWorks + QStringLiteral("/bin/XIF32BIN")).isExecutable());
    const ProcessResult browse = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("browse"), QStringLiteral("Demo Building")});
    EXPECT_EQ(browse.exitCode, 0) << browse.err.toStdString();
}

QStringList stagingFolders(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
        .filter(QStringLiteral(".setup-"));
}

void writeFile(const QString& path, const QByteArray& content = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(Setup, KilledAnywhereInAForcedSetupTheFolderStaysWhole) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(setup(Force).exitCode, 0);
    const qint64 duration = timer.elapsed();
    constexpr int KillPoints = 6;
    for (int point = 0; point < KillPoints; ++point) {
        SCOPED_TRACE(point);
        // Files of the user's own make the old folder slow to remove.
        for (int file = 0; file < 200; ++file)
            writeFile(lonWorks + QStringLiteral("/mine/%1.txt").arg(file));
        const auto run = startForcedSetup();
        QThread::msleep(static_cast<unsigned long>(duration * (point + 1) / KillPoints));
        run->kill();
        run->waitForFinished();
        expectWhole(lonWorks);
    }
    ASSERT_EQ(setup(Force).exitCode, 0);
    expectWhole(lonWorks);
    EXPECT_EQ(stagingFolders(root.path()), QStringList());
}

TEST(Setup, ForcedSetupsRunningAtOnceEachLeaveTheFolderWhole) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int run = 0; run < 3; ++run)
        runs.push_back(startForcedSetup());
    for (const auto& run : runs) {
        run->waitForFinished(60000);
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    }
    expectWhole(root.path() + QStringLiteral("/LonWorks"));
    EXPECT_EQ(stagingFolders(root.path()), QStringList());
}

TEST(Setup, PlainSetupNamesWhatAnExistingFolderLacksAndLeavesItAsItIs) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    ASSERT_TRUE(QFile::remove(lonWorks + QStringLiteral("/Databases/New Site/network.sqlite3")));
    ASSERT_TRUE(QDir(lonWorks + QStringLiteral("/Types")).removeRecursively());
    const ProcessResult check = setup();
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.err.contains(QStringLiteral("\"Databases/New Site/network.sqlite3\"")))
        << check.err.toStdString();
    EXPECT_TRUE(check.err.contains(QStringLiteral("\"Types\""))) << check.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(lonWorks + QStringLiteral("/Types")));
    EXPECT_TRUE(QFileInfo::exists(lonWorks + QStringLiteral("/Databases/Demo Building")));
}

TEST(Setup, LinksBesideTheFolderAreNeverFollowed) {
    TempPlatformRoot root;
    QTemporaryDir elsewhere;
    const QString kept = elsewhere.path() + QStringLiteral("/kept/mine.txt");
    writeFile(kept);
    for (const QString& name :
         {QStringLiteral("LonWorks.setup"), QStringLiteral("LonWorks.setup-abcdef")})
        ASSERT_TRUE(
            QFile::link(elsewhere.path() + QStringLiteral("/kept"), root.path() + u'/' + name));
    ASSERT_EQ(setup().exitCode, 0);
    const ProcessResult forced = setup(Force);
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(kept));
    expectWhole(root.path() + QStringLiteral("/LonWorks"));
}

TEST(Setup, AFolderMovedElsewhereAndLinkedIsLaidOutWhereItIsAndABrokenLinkIsRefused) {
    TempPlatformRoot root;
    QTemporaryDir disk;
    ASSERT_EQ(setup().exitCode, 0);
    const QString link = root.path() + QStringLiteral("/LonWorks");
    const QString moved = disk.path() + QStringLiteral("/LonWorks");
    ASSERT_TRUE(QDir().rename(link, moved));
    ASSERT_TRUE(QFile::link(moved, link));
    writeFile(moved + QStringLiteral("/mine.txt"));
    EXPECT_EQ(setup().exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(moved + QStringLiteral("/mine.txt")));

    const ProcessResult forced = setup(Force);
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), moved);
    expectWhole(moved);
    expectWhole(link);
    EXPECT_EQ(stagingFolders(disk.path()), QStringList());

    ASSERT_TRUE(QDir(moved).removeRecursively());
    const ProcessResult broken = setup(Force);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains(link + QStringLiteral(" is a symbolic link")))
        << broken.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(Setup, AFailureNamesTheSystemsReasonAndLeavesTheFolderAsItWas) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    const QString mine = root.path() + QStringLiteral("/LonWorks/mine.txt");
    writeFile(mine);
    ProcessResult forced;
    {
        const FileSizeLimit fullDisk(1024);
        forced = setup(Force);
    }
    EXPECT_EQ(forced.exitCode, 1);
    EXPECT_TRUE(forced.err.contains(QStringLiteral("File too large"))) << forced.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(mine));
    EXPECT_EQ(stagingFolders(root.path()), QStringList());
}

TEST(Setup, ItsDatabasesFollowTheUmaskAndTheConverterRunsWhereItIsInstalled) {
    TempPlatformRoot root;
    const mode_t previous = ::umask(002);
    const ProcessResult result = setup();
    ::umask(previous);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    for (const QString& file :
         {root.settingsStoreFile(),
          lonWorks + QStringLiteral("/Databases/Demo Building/network.sqlite3")})
        EXPECT_TRUE(QFileInfo(file).permissions() & QFile::WriteGroup) << file.toStdString();
    const QFileInfo converter(lonWorks + QStringLiteral("/bin/XIF32BIN"));
    EXPECT_TRUE(converter.isSymLink());
    EXPECT_FALSE(converter.symLinkTarget().startsWith(root.path()));
}

// A forced setup never takes a folder from a process with a network open:
// it refuses, or waits with --wait and then replaces the folder at once.
TEST(Setup, AForcedSetupLeavesAnOpenNetworkAloneOrWaitsForIt) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    const QString mine = lonWorks + QStringLiteral("/mine.txt");
    writeFile(mine);
    auto open = std::make_unique<OpenDemo>(lonWorks);
    const ProcessResult refused = setup(Force);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("a network of %1 is in use").arg(lonWorks)))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force --wait")));
    EXPECT_TRUE(QFileInfo::exists(mine));
    open->property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                   QStringLiteral("nciLocation"))
        ->setFormattedElement(0, QStringLiteral("Lobby"));

    QProcess waiting;
    waiting.start(programPath(QStringLiteral("lns-host")),
                  {QStringLiteral("setup"), QStringLiteral("--force"), QStringLiteral("--wait")});
    waiting.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(waiting.waitForReadyRead(20000));
    EXPECT_TRUE(waiting.readAllStandardError().contains("waiting until every program"));
    EXPECT_FALSE(waiting.waitForFinished(300));
    EXPECT_TRUE(QFileInfo::exists(mine));
    open.reset();
    ASSERT_TRUE(waiting.waitForFinished(60000));
    EXPECT_EQ(waiting.exitCode(), 0) << waiting.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(mine));
    expectWhole(lonWorks);
    EXPECT_EQ(setup({QStringLiteral("--wait")}).exitCode, 2) << "--wait goes with --force";
}

// A network replaced behind a process's back (by hand, or by a program that
// does not ask) fails the process's next write instead of losing it.
TEST(Setup, AWriteIntoANetworkReplacedSinceItsOpenFails) {
    TempPlatformRoot root;
    ASSERT_EQ(setup().exitCode, 0);
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    OpenDemo open(lonWorks);
    const auto location = open.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                                        QStringLiteral("nciLocation"));
    const QString moved = root.path() + QStringLiteral("/LonWorks-before");
    ASSERT_TRUE(QDir().rename(lonWorks, moved));
    ASSERT_EQ(setup().exitCode, 0);
    try {
        location->setFormattedElement(0, QStringLiteral("Lobby"));
        ADD_FAILURE() << "the write was taken";
    } catch (const Error& error) {
        EXPECT_EQ(error.lnsCode(), lns::Code::DatabaseInvalid);
        EXPECT_TRUE(error.description().contains(QStringLiteral("removed or replaced")))
            << error.description().toStdString();
    }
    EXPECT_EQ(OpenDemo(lonWorks)
                  .property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                            QStringLiteral("nciLocation"))
                  ->FormattedValue(),
              QStringLiteral("Floor 1 North Office"));
}

} // namespace
