// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: what it reads and writes on disk. Backups and logs
// are never lost, a full disk is a reported failure, and nothing but regular
// files of a sane size is read or replaced.
#include "ConfigToolFixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <sys/stat.h>

namespace {

bool isFifo(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Runs the shell script in a private mount namespace with a tmpfs of 64 KiB
// at "$1"; nothing when the system does not allow that.
std::optional<QString> onSmallDisk(const QString& folder, const QString& script,
                                   const QStringList& arguments) {
    QDir().mkpath(folder);
    QProcess shell;
    shell.start(QStringLiteral("unshare"),
                QStringList{"-rm", "sh", "-c",
                            "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 99\n" + script, "sh",
                            folder} +
                    arguments);
    if (!shell.waitForFinished(60000))
        return std::nullopt;
    const QByteArray out = shell.readAllStandardOutput();
    const QByteArray err = shell.readAllStandardError();
    // 99: the tmpfs could not be mounted; "unshare:" alone: the namespace was refused.
    if (shell.exitCode() == 99 || (out.isEmpty() && err.startsWith("unshare:")))
        return std::nullopt;
    return QString::fromUtf8(out + err);
}

TEST_F(ConfigTool, EachBackupRunKeepsItsOwnFolderAndTheLogKeepsEveryRunWithDates) {
    const QString before = shownValue("RTU-11", "occ_heat_setpts");
    const QString backups = file("backups");
    const QString log = file("activity.csv");
    for (const QString setpoint : {"69", "68"}) {
        const QString copy = edited(save("RTU-1"), {{"occ_heat_setpts", setpoint}});
        const ProcessResult applied =
            tool({"apply", Demo, copy, "RTU-11", "--backup", backups, "--log", log});
        EXPECT_EQ(applied.exitCode, 0) << applied.out.toStdString() << applied.err.toStdString();
    }
    const QStringList runs = QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(runs.size(), 2) << "a run of the same second gets a folder of its own";
    const auto backedUp = [&](int run) {
        return fieldsOf(json(backups + u'/' + runs[run] + "/Floor 2_RTU-11.json"))
            .value("occ_heat_setpts")
            .toString();
    };
    EXPECT_EQ(backedUp(0), before);
    EXPECT_NE(backedUp(1), before);
    QFile logFile(log);
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    const QString rows = QString::fromUtf8(logFile.readAll());
    const QRegularExpression deviceRow(
        QStringLiteral(
            "^\"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\",\"Device\",\"Floor 2/RTU-11\"\r$"),
        QRegularExpression::MultilineOption);
    EXPECT_EQ(rows.count(deviceRow), 2) << rows.toStdString();
    // The backup folder of a run puts the devices back as they were.
    EXPECT_EQ(tool({"restore", Demo, backups + u'/' + runs[0]}).exitCode, 0);
    EXPECT_EQ(shownValue("RTU-11", "occ_heat_setpts"), before);
}

TEST_F(ConfigTool, FullDiskFailsTheSaveKeepsTheOldFileAndSendsNothingWithoutABackup) {
    const QString good = save("RTU-1");
    const QString copy = edited(good, {{"password", "42"}});
    clearJournal();
    const std::optional<QString> result = onSmallDisk(
        file("small"),
        "cp \"$2\" \"$1/RTU-1.json\"\n"
        "printf '%4095s\\n' earlier > \"$1/log.csv\"; before=$(cksum < \"$1/log.csv\")\n"
        "printf '%3999s\\n' earlier > \"$1/short.csv\"; short=$(cksum < \"$1/short.csv\")\n"
        "dd if=/dev/zero of=\"$1/fill\" bs=4k 2>/dev/null\n"
        "\"$3\" save \"$4\" RTU-1 -o \"$1/RTU-1.json\"; echo \"save=$?\"\n"
        "cmp -s \"$2\" \"$1/RTU-1.json\" && echo intact\n"
        "\"$3\" apply \"$4\" \"$5\" RTU-1 --backup \"$1/backups\" --log \"$1/log.csv\"; "
        "echo \"apply=$?\"\n"
        "[ \"$(cksum < \"$1/log.csv\")\" = \"$before\" ] && echo \"log intact\"\n"
        // Room for a few bytes in the last block: the append starts, then fails.
        "\"$3\" apply \"$4\" \"$5\" RTU-1 --backup \"$1/backups\" --log \"$1/short.csv\" "
        "2>/dev/null\n"
        "[ \"$(cksum < \"$1/short.csv\")\" = \"$short\" ] && echo \"short log intact\"\n",
        {good, programPath("rm42-config"), Demo, copy});
    if (!result)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_TRUE(result->contains("save=1")) << result->toStdString();
    EXPECT_TRUE(result->contains("No space left on device")) << result->toStdString();
    EXPECT_TRUE(result->contains("intact")) << result->toStdString();
    EXPECT_TRUE(result->contains("Floor 1/RTU-1: failed: no backup, nothing written"))
        << result->toStdString();
    EXPECT_TRUE(result->contains("apply=1"));
    EXPECT_TRUE(result->contains("the log cannot be written")) << result->toStdString();
    EXPECT_TRUE(result->contains("log intact")) << result->toStdString();
    EXPECT_TRUE(result->contains("short log intact")) << result->toStdString();
    EXPECT_EQ(writes(), QStringList());
}

TEST_F(ConfigTool, OnlyRegularFilesOfASaneSizeAreReadAndNothingElseIsReplaced) {
    const QString fifo = file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile huge(file("huge.json"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(100 * 1024 * 1024));
    huge.close();
    const QString saved = save("RTU-1");
    clearJournal();
    const QList<QPair<QStringList, QString>> refused = {
        {{"check", "/dev/zero"}, "/dev/zero: not a regular file"},
        {{"check", fifo}, fifo + ": not a regular file"},
        {{"check", file("huge.json")}, "104857600 bytes, more than the 4 MiB a file may hold"},
        {{"save", Demo, "RTU-1", "-o", fifo}, fifo + ": not a regular file: refused"},
        {{"apply", Demo, saved, "RTU-1", "--log", fifo}, fifo + ": not a regular file: refused"},
        {{"apply", Demo, saved, "--all", "--backup", saved}, saved + ": not a folder"},
    };
    for (const auto& [arguments, message] : refused) {
        const ProcessResult result = runProgram("rm42-config", arguments, {}, 20000);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(message)) << result.err.toStdString();
    }
    EXPECT_TRUE(isFifo(fifo));
    EXPECT_EQ(writes(), QStringList());
    // Nothing is made for a run that cannot start.
    EXPECT_EQ(tool({"apply", "Nowhere", saved, "RTU-1", "--backup", file("b")}).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(file("b")));
    // Names are echoed with their control characters escaped, and a huge value is cut.
    const ProcessResult named = tool({"show", Demo, "RTU\x1b[2J"});
    EXPECT_TRUE(named.err.contains("no device \"RTU\\x1b[2J\"")) << named.err.toStdString();
    const ProcessResult longValue = tool({"set", Demo, "RTU-1", "password=" + QString(5000, u'9')});
    EXPECT_EQ(longValue.exitCode, 2);
    EXPECT_LT(longValue.err.size(), 200) << longValue.err.toStdString();
}

// The log names a device before the device is written: a run killed between
// two of its writes has logged it, and --help says what such a row means.
TEST_F(ConfigTool, ARunKilledBetweenTwoWritesOfADeviceHasLoggedIt) {
    const QString original = save("RTU-1");
    const QString before = shownValue("RTU-1", "occ_heat_setpts");
    const QString changes = edited(original, {{"password", "42"}, {"occ_heat_setpts", "69"}});
    clearJournal();
    ASSERT_EQ(tool({"apply", Demo, changes, "RTU-1", "--jobs", "1"}).exitCode, 0);
    QFile journal(journalFile());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QStringList calls = QString::fromUtf8(journal.readAll()).split(u'\n');
    const QRegularExpression write(QStringLiteral("(set|update)FormattedElement "));
    qsizetype secondWrite = -1;
    for (qsizetype call = 0, writes = 0; call < calls.size() && secondWrite < 0; ++call) {
        if (calls[call].contains(write) && ++writes == 2)
            secondWrite = call + 1;
    }
    ASSERT_GT(secondWrite, 0);
    ASSERT_EQ(tool({"apply", Demo, original, "RTU-1"}).exitCode, 0);

    const QString log = file("activity.csv");
    qputenv("LNS_SIM_KILL_AT_CALL", QByteArray::number(secondWrite));
    const ProcessResult killed =
        runProgram("rm42-config", {"apply", Demo, changes, "RTU-1", "--jobs", "1", "--log", log});
    qunsetenv("LNS_SIM_KILL_AT_CALL");
    EXPECT_TRUE(killed.crashed);
    EXPECT_NE(shownValue("RTU-1", "occ_heat_setpts"), before) << "the first write was made";
    QFile rows(log);
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly)) << "nothing was logged";
    EXPECT_TRUE(rows.readAll().contains("\",\"Updating device\",\"Floor 1/RTU-1\"\r\n"));
    for (const char* subcommand : {"apply", "restore"})
        EXPECT_TRUE(
            tool({subcommand, "--help"})
                .out.contains("the\n                      run was stopped while writing it"));
}

// Runs rm42-config under strace with `options`; the trace, or nothing where
// the system does not let a process be traced.
std::optional<QStringList> traced(const QString& trace, const QStringList& options,
                                  const QStringList& arguments, int& exitCode) {
    QProcess strace;
    strace.start(QStringLiteral("strace"), QStringList{"-f", "-o", trace} + options +
                                               QStringList{programPath("rm42-config")} + arguments);
    if (!strace.waitForFinished(60000) || strace.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    QFile lines(trace);
    if (!lines.open(QIODevice::ReadOnly) || lines.size() == 0)
        return std::nullopt;
    exitCode = strace.exitCode();
    return QString::fromUtf8(lines.readAll()).split(u'\n');
}

qsizetype firstMatch(const QStringList& lines, const QRegularExpression& pattern,
                     qsizetype from = 0) {
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (lines[i].contains(pattern))
            return i;
    }
    return -1;
}

// A saved file's data reaches the disk before it takes the old file's place,
// and the folder after, so that a power cut leaves the old file or the whole
// new one; a rename that fails leaves no copy beside the file.
TEST_F(ConfigTool, ASaveSyncsTheFileBeforeItsRenameAndTheFolderAfter) {
    const QString target = save("RTU-1");
    const QString folder = QRegularExpression::escape(root.path());
    int exitCode = -1;
    const std::optional<QStringList> lines =
        traced(file("trace.txt"), {"-e", "trace=open,openat,rename,renameat,renameat2,fsync"},
               {"save", Demo, "RTU-1", "-o", target}, exitCode);
    if (!lines)
        GTEST_SKIP() << "no strace here, or tracing is not allowed";
    ASSERT_EQ(exitCode, 0);
    const qsizetype opened = firstMatch(
        *lines, QRegularExpression("open(at)?\\(.*(\"" + folder + "\", [^)]*O_TMPFILE|\\.RTU-1" +
                                   "\\.json\\.\\d+\\.tmp\", [^)]*O_CREAT)[^)]*\\) = \\d+"));
    ASSERT_GE(opened, 0) << lines->join('\n').toStdString();
    const QString fd = lines->at(opened).section(QStringLiteral(" = "), -1);
    const qsizetype renamed =
        firstMatch(*lines, QRegularExpression("rename(at2?)?\\(.*\"" +
                                              QRegularExpression::escape(target) + "\".*\\) = 0"));
    ASSERT_GT(renamed, opened) << lines->join('\n').toStdString();
    const qsizetype synced =
        firstMatch(*lines, QRegularExpression("fsync\\(" + fd + "\\)\\s+= 0"), opened);
    EXPECT_TRUE(synced > opened && synced < renamed) << lines->join('\n').toStdString();
    const qsizetype folderOpened = firstMatch(
        *lines, QRegularExpression("open(at)?\\(.*\"" + folder + "\", [^)]*O_DIRECTORY"), renamed);
    ASSERT_GT(folderOpened, renamed) << lines->join('\n').toStdString();
    EXPECT_GT(
        firstMatch(*lines,
                   QRegularExpression("fsync\\(" + lines->at(folderOpened).section(" = ", -1) +
                                      "\\)\\s+= 0"),
                   folderOpened),
        folderOpened)
        << lines->join('\n').toStdString();

    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray contents = saved.readAll();
    const std::optional<QStringList> failed =
        traced(file("trace.txt"),
               {"-e", "trace=rename,renameat,renameat2", "-e",
                "inject=rename,renameat,renameat2:error=EIO"},
               {"save", Demo, "RTU-1", "-o", target}, exitCode);
    ASSERT_TRUE(failed);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(QDir(root.path()).entryList({"*.tmp"}, QDir::Files | QDir::Hidden), QStringList());
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), contents);
}

} // namespace
