// SPDX-License-Identifier: Apache-2.0
#include "registration/DeviceFile.h"

#include "ScriptedDialogs.h"
#include "TestEnvironment.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString RtuProgramId = QStringLiteral("8003DB5500040421");

class DeviceFileTest : public ::testing::Test {
protected:
    QString write(const QString& relative, const QByteArray& content) {
        const QString path = root.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return Paths::toSystem(path);
    }
    static QByteArray xif(const QByteArray& programIdLine, bool blankFourthLine = false) {
        return "File: RM42xx.xif\nGenerated for tests\n\n" +
               QByteArray(blankFourthLine ? "   \n" : "") + programIdLine + " 3 1 1 0 0\nmore\n";
    }
    QString folder() const { return Paths::toSystem(root.path()) + QLatin1Char('\\'); }

    TempPlatformRoot root;
};

TEST_F(DeviceFileTest, ProgramIdIsReadFromTheFourthOrFifthLine) {
    EXPECT_EQ(
        DeviceFile::ProgramIdOfFile(write(QStringLiteral("a.xif"), xif("80:03:DB:55:00:04:04:21"))),
        RtuProgramId);
    EXPECT_EQ(DeviceFile::ProgramIdOfFile(
                  write(QStringLiteral("b.XIF"), xif("80:03:DB:55:00:04:04:21", true))),
              RtuProgramId);
    EXPECT_EQ(
        DeviceFile::ProgramIdOfFile(write(QStringLiteral("c.txt"), xif("80:03:DB:55:00:04:04:21"))),
        QString())
        << "only .xif files declare a program ID";
}

TEST_F(DeviceFileTest, TextProgramIdsBecomeCharactersPaddedWithBlanks) {
    EXPECT_EQ(
        DeviceFile::ProgramIdOfFile(write(QStringLiteral("t.xif"), xif("52:4D:34:32:00:00:58:58"))),
        QStringLiteral("RM42  XX") + QString(8, QLatin1Char(' ')));
}

TEST_F(DeviceFileTest, BadFilesHaveNoProgramId) {
    const QList<QByteArray> contents = {
        "",
        "one\ntwo\nthree",
        QByteArray("\x7f"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\n\n\n80:03:DB:55:00:04:04:21\n",
                   30),
        xif("80:03:DB:55:00:04"),
        xif("80-03-DB-55-00-04-04-2"),
        xif("hello world, this is not an id"),
        xif("80:03:DB:55:00:04:04:2G"),
    };
    int n = 0;
    for (const QByteArray& content : contents)
        EXPECT_EQ(DeviceFile::ProgramIdOfFile(write(QStringLiteral("bad%1.xif").arg(n++), content)),
                  QString())
            << n;
    EXPECT_EQ(DeviceFile::ProgramIdOfFile(folder() + QStringLiteral("missing.xif")), QString());
}

TEST_F(DeviceFileTest, SearchFindsTheFileInSubfoldersWhateverTheCase) {
    write(QStringLiteral("Other/other.xif"), xif("80:03:DB:55:00:04:04:99"));
    write(QStringLiteral("Zentaro/Deep/RM42xx.Xif"), xif("80:03:DB:55:00:04:04:21"));
    EXPECT_EQ(DeviceFile::Search(folder(), QStringLiteral("8003db5500040421")).path,
              folder() + QStringLiteral("Zentaro\\Deep\\RM42xx.Xif"));
    const DeviceFile::SearchResult none =
        DeviceFile::Search(folder(), QStringLiteral("8003DB5500049999"));
    EXPECT_EQ(none.path, QString());
    EXPECT_FALSE(none.cutShort) << "a search that saw everything was not cut short";
}

TEST_F(DeviceFileTest, SearchTakesNoLinkToAFolderAndKeepsToItsBounds) {
    // A file reachable only through a link to a folder outside the search.
    write(QStringLiteral("Outside/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    QDir().mkpath(root.path() + QStringLiteral("/Search"));
    ASSERT_TRUE(QFile::link(root.path() + QStringLiteral("/Outside"),
                            root.path() + QStringLiteral("/Search/Link")));
    const QString search = folder() + QStringLiteral("Search\\");
    const DeviceFile::SearchResult linked = DeviceFile::Search(search, RtuProgramId);
    EXPECT_EQ(linked.path, QString());
    EXPECT_FALSE(linked.cutShort);

    write(QStringLiteral("Search/A/B/C/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    const DeviceFile::SearchResult shallow = DeviceFile::Search(search, RtuProgramId, {2});
    EXPECT_EQ(shallow.path, QString());
    EXPECT_TRUE(shallow.cutShort) << "deeper folders were left unsearched";
    // A folder too deep is left out; its neighbours are still searched.
    write(QStringLiteral("Search/Z/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    EXPECT_EQ(DeviceFile::Search(search, RtuProgramId, {2}).path,
              search + QStringLiteral("Z\\RM42xx.XIF"));
    QFile::remove(root.path() + QStringLiteral("/Search/Z/RM42xx.XIF"));
    EXPECT_EQ(DeviceFile::Search(search, RtuProgramId, {3}).path,
              search + QStringLiteral("A\\B\\C\\RM42xx.XIF"));
    const DeviceFile::SearchResult late =
        DeviceFile::Search(search, RtuProgramId, {12, std::chrono::milliseconds(0)});
    EXPECT_EQ(late.path, QString());
    EXPECT_TRUE(late.cutShort) << "out of time";
}

// Runs `check` in a child process as a user whom folder modes bind: "nobody"
// when the tests run as root, who may read any folder. True when it held.
bool holdsForAnOrdinaryUser(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setgid(65534) == 0 && ::setuid(65534) == 0);
        bool held = false;
        try {
            held = dropped && check();
        } catch (...) {
        }
        ::_exit(held ? 0 : 1); // never back into the test runner as another user
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST_F(DeviceFileTest, SearchEndsOnLinkLoopsAndUnreadableFolders) {
    QDir().mkpath(root.path() + QStringLiteral("/Loop/Inner"));
    ASSERT_TRUE(QFile::link(root.path() + QStringLiteral("/Loop"),
                            root.path() + QStringLiteral("/Loop/Inner/Back")));
    QDir().mkpath(root.path() + QStringLiteral("/Locked"));
    write(QStringLiteral("Locked/first.xif"), xif("80:03:DB:55:00:04:04:21"));
    ::chmod(QFile::encodeName(root.path() + QStringLiteral("/Locked")).constData(), 0);
    ::chmod(QFile::encodeName(root.path()).constData(), 0755);
    write(QStringLiteral("Z/last.xif"), xif("80:03:DB:55:00:04:04:21"));
    EXPECT_TRUE(holdsForAnOrdinaryUser([&] {
        return DeviceFile::Search(folder(), RtuProgramId).path ==
               folder() + QStringLiteral("Z\\last.xif");
    }));
    ::chmod(QFile::encodeName(root.path() + QStringLiteral("/Locked")).constData(), 0700);
}

// Starts nothing; counts the starts.
class CountingLauncher : public ProcessLauncher {
public:
    void run(const QString&, const QStringList&, int) override { ++starts; }
    std::unique_ptr<StartedProcess> start(const QString& program,
                                          const QStringList& arguments) override {
        ++starts;
        return real.start(program, arguments);
    }
    int starts = 0;
    SystemProcessLauncher real;
};

TEST_F(DeviceFileTest, AnExistingBinaryFormIsUsedWithoutTheConverter) {
    const QString file = write(QStringLiteral("Import/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    write(QStringLiteral("Import/RM42xx.xfb"), "binary");
    ScriptedDialogs dialogs;
    CountingLauncher launcher;
    EXPECT_EQ(
        DeviceFile::Convert(file, {Paths::toSystem(root.path()), launcher, dialogs, [] {}, {}}),
        file);
    EXPECT_EQ(launcher.starts, 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DeviceFileTest, AMissingConverterIsReportedAndGivesNoFile) {
    const QString file = write(QStringLiteral("Import/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    ScriptedDialogs dialogs;
    CountingLauncher launcher;
    EXPECT_EQ(
        DeviceFile::Convert(file, {Paths::toSystem(root.path()), launcher, dialogs, [] {}, {}}),
        QString());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Cannot Export Database"));
    // The path as this system writes it.
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The file ") + root.path() +
                  QStringLiteral("/Import/RM42xx.XFB could not be found."));
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::Critical);
}

// "Converts" by writing the binary form it is asked for.
class WritingLauncher : public CountingLauncher {
public:
    std::unique_ptr<StartedProcess> start(const QString&, const QStringList& arguments) override {
        ++starts;
        QFile xfb(arguments.value(1));
        EXPECT_TRUE(xfb.open(QIODevice::WriteOnly)) << qPrintable(arguments.value(1));
        return real.start(QStringLiteral("true"), {});
    }
};

TEST_F(DeviceFileTest, AFileFoundElsewhereIsConvertedInTheImportFolderNeverBesideIt) {
    const QString elsewhere =
        write(QStringLiteral("Elsewhere/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    const QString import = Paths::toSystem(root.path() + QStringLiteral("/Import"));
    ScriptedDialogs dialogs;
    WritingLauncher launcher;
    const QString converted = DeviceFile::Convert(
        elsewhere, {Paths::toSystem(root.path()), launcher, dialogs, [] {}, import});
    EXPECT_EQ(converted, import + QStringLiteral("\\8003DB5500040421\\RM42xx.XIF"));
    EXPECT_TRUE(QFile::exists(root.path() + QStringLiteral("/Import/8003DB5500040421/RM42xx.XFB")));
    EXPECT_FALSE(QFile::exists(root.path() + QStringLiteral("/Elsewhere/RM42xx.XFB")));
    EXPECT_EQ(QDir(root.path() + QStringLiteral("/Elsewhere")).entryList(QDir::Files),
              QStringList{QStringLiteral("RM42xx.XIF")});
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A file of the import folder is converted where it is.
    const QString inside =
        write(QStringLiteral("Import/Zentaro/RM42xx.XIF"), xif("80:03:DB:55:00:04:04:21"));
    EXPECT_EQ(DeviceFile::Convert(inside,
                                  {Paths::toSystem(root.path()), launcher, dialogs, [] {}, import}),
              inside);
    EXPECT_TRUE(QFile::exists(root.path() + QStringLiteral("/Import/Zentaro/RM42xx.XFB")));
}

} // namespace
