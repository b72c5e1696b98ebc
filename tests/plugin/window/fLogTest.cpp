// SPDX-License-Identifier: Apache-2.0
#include "support/fLog.h"

#include "ScriptedDialogs.h"
#include "TestApplication.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString CancelText = QStringLiteral("Action canceled by user");
const QString OverwriteQuestion = QStringLiteral("File already exists, override?");

QString iconKeyOf(const QTreeWidgetItem* row) {
    return row->data(0, fLog::IconKeyRole).toString();
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// Every file write of this process beyond `bytes` fails, as on a full disk,
// while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

class fLogTest : public ::testing::Test {
protected:
    QApplication& app = testApplication();
    ScriptedDialogs dialogs;
    fLog log{dialogs};
    QTemporaryDir dir;

    QString pathOf(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTreeWidgetItem* row(int index) const { return log.EchLog->topLevelItem(index); }
    int rowCount() const { return log.EchLog->topLevelItemCount(); }
};

// Rows

TEST_F(fLogTest, CommandAndErrorRowsAccumulateNewestAtTheBottom) {
    log.LogCommand(QStringLiteral("Reading nciSetPts"), QStringLiteral("Ok"));
    log.LogError(QStringLiteral("Read failed\r\n Device not responding"));
    ASSERT_EQ(rowCount(), 2);
    EXPECT_EQ(iconKeyOf(row(0)), QStringLiteral("Green"));
    EXPECT_EQ(iconKeyOf(row(1)), QStringLiteral("Red"));
    EXPECT_FALSE(row(0)->icon(0).isNull());
    EXPECT_FALSE(row(1)->icon(0).isNull());
    EXPECT_FALSE(row(0)->text(0).isEmpty());
    EXPECT_EQ(row(0)->text(1), QStringLiteral("Reading nciSetPts"));
    EXPECT_EQ(row(0)->text(2), QStringLiteral("Ok"));
    EXPECT_FALSE(log.isVisible());
}

TEST_F(fLogTest, TwoLineErrorKeepsTheLeadingBlankOfItsSecondLine) {
    log.LogError(QStringLiteral("SendNetworkValue failed\r\n LNS error 42\r\nthird line"));
    ASSERT_EQ(rowCount(), 1);
    EXPECT_FALSE(row(0)->text(0).isEmpty());
    EXPECT_EQ(row(0)->text(1), QStringLiteral("SendNetworkValue failed"));
    EXPECT_EQ(row(0)->text(2), QStringLiteral(" LNS error 42"));
}

TEST_F(fLogTest, OneLineErrorLogsARedRowWithOnlyTheTime) {
    log.LogError(QStringLiteral("Monitoring failed"));
    ASSERT_EQ(rowCount(), 1);
    EXPECT_EQ(iconKeyOf(row(0)), QStringLiteral("Red"));
    EXPECT_FALSE(row(0)->text(0).isEmpty());
    EXPECT_TRUE(row(0)->text(1).isEmpty());
    EXPECT_TRUE(row(0)->text(2).isEmpty());
}

TEST_F(fLogTest, ShowOnErrorShowsTheWindowWithoutBlockingOthers) {
    log.LogError(QStringLiteral("first\r\n unchecked"));
    EXPECT_FALSE(log.isVisible());

    log.cbOpenOnError->setChecked(true);
    log.LogCommand(QStringLiteral("Updating"), QStringLiteral("Ok"));
    EXPECT_FALSE(log.isVisible()); // only errors open the window
    log.LogError(QStringLiteral("second\r\n checked"));
    EXPECT_TRUE(log.isVisible());
    EXPECT_FALSE(log.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    log.cmdClose->click();
    EXPECT_FALSE(log.isVisible());
    EXPECT_EQ(rowCount(), 3); // closing only hides
}

TEST_F(fLogTest, ClearButtonAsksFirstAndClearDoesNot) {
    log.LogCommand(QStringLiteral("Reading"), QStringLiteral("Ok"));
    dialogs.queueAnswer(DialogAnswer::Cancel);
    log.cmdClear->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Clear Log file ?"));
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(rowCount(), 1);

    dialogs.queueAnswer(DialogAnswer::Ok);
    log.cmdClear->click();
    EXPECT_EQ(rowCount(), 0);

    log.LogCommand(QStringLiteral("Reading"), QStringLiteral("Ok"));
    log.Clear();
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(fLogTest, TheNewestRowIsInViewWhenTheLogIsShownAndWhileItIsShown) {
    const auto newestInView = [&] {
        QApplication::processEvents();
        const QRect shown = log.EchLog->visualItemRect(row(rowCount() - 1));
        return shown.isValid() && log.EchLog->viewport()->rect().contains(shown);
    };
    for (int i = 0; i < 300; ++i)
        log.LogCommand(QStringLiteral("Reading nciSetPts %1").arg(i), QStringLiteral("Ok"));
    log.show();
    EXPECT_TRUE(newestInView());

    for (int i = 0; i < 300; ++i)
        log.LogError(QStringLiteral("Read failed\r\n try %1").arg(i));
    EXPECT_TRUE(newestInView());
    EXPECT_GE(log.EchLog->columnWidth(2),
              log.EchLog->fontMetrics().horizontalAdvance(QStringLiteral(" try 299")));
}

// Rows come many to a turn while values are sent; the columns are fitted to
// them once, after them, and never narrow.
TEST_F(fLogTest, ColumnsAreFittedOnceATurnToEveryRowOfIt) {
    QSignalSpy resized(log.EchLog->header(), &QHeaderView::sectionResized);
    for (int i = 0; i < 50; ++i)
        log.LogCommand(QStringLiteral("Writing nciSetPts") + QString(i, u'x'),
                       QStringLiteral("Ok"));
    QApplication::processEvents();
    EXPECT_LE(resized.count(), 3);
    EXPECT_GE(log.EchLog->columnWidth(1),
              log.EchLog->fontMetrics().horizontalAdvance(QStringLiteral("Writing nciSetPts") +
                                                          QString(49, u'x')));
    const int widest = log.EchLog->columnWidth(1);
    log.LogCommand(QStringLiteral("Short"), QStringLiteral("Ok"));
    QApplication::processEvents();
    EXPECT_EQ(log.EchLog->columnWidth(1), widest);
}

// A long session keeps the newest rows, says how many older ones it dropped,
// and saves what it keeps.
TEST_F(fLogTest, KeepsTheNewestRowsSaysHowManyItDroppedAndSavesThem) {
    for (int i = 0; i < fLog::MostRows + 3; ++i)
        log.LogCommand(QStringLiteral("Reading %1").arg(i), QStringLiteral("Ok"));
    ASSERT_EQ(rowCount(), fLog::MostRows);
    EXPECT_EQ(row(0)->text(1), QStringLiteral("Reading 3"));
    EXPECT_EQ(row(rowCount() - 1)->text(1), QStringLiteral("Reading %1").arg(fLog::MostRows + 2));
    EXPECT_EQ(log.droppedRows(), 3);
    EXPECT_TRUE(log.lblDropped->isVisibleTo(&log));
    EXPECT_EQ(log.lblDropped->text(), QStringLiteral("3 older rows dropped"));

    const QString path = pathOf(QStringLiteral("kept.csv"));
    dialogs.queueFile(path);
    log.Save();
    const QList<QByteArray> lines = contentsOf(path).split('\n');
    EXPECT_EQ(lines.size(), fLog::MostRows + 1); // after the last line break: nothing
    EXPECT_TRUE(lines.first().contains("\"Reading 3\"")) << lines.first().toStdString();

    log.Clear();
    EXPECT_EQ(log.droppedRows(), 0);
    EXPECT_FALSE(log.lblDropped->isVisibleTo(&log));
}

TEST_F(fLogTest, TheConfigurationWindowKeepsOneLogForTheRun) {
    WindowFixture f;
    fLog& first = f.window->activityLog();
    first.LogCommand(QStringLiteral("Reading"), QStringLiteral("Ok"));
    EXPECT_EQ(&f.window->activityLog(), &first);
    EXPECT_TRUE(first.isWindow());
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(first.windowTitle(), QStringLiteral("Network activity logging"));
}

// Saving

TEST_F(fLogTest, SavingAnEmptyListCreatesAnEmptyFile) {
    const QString path = pathOf(QStringLiteral("ActivityLog.csv"));
    dialogs.queueFile(path);
    log.cmdSave->click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    const FileRequest& request = dialogs.fileRequests[0];
    EXPECT_EQ(request.title, QStringLiteral("Save As..."));
    EXPECT_EQ(request.fileName, QStringLiteral("ActivityLog"));
    EXPECT_EQ(request.filter,
              QStringLiteral("Comma separated values (*.csv) |*.csv | All Files (*.*) | *.*"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(contentsOf(path), QByteArray());
}

TEST_F(fLogTest, SavedRowsAreQuotedCommaSeparatedLinesWithQuotesDoubled) {
    log.LogCommand(QStringLiteral("Location"), QStringLiteral("Room \"A\""));
    log.LogError(QStringLiteral("Write failed, retry\r\n \"x\""));
    const QString time0 = row(0)->text(0);
    const QString time1 = row(1)->text(0);
    const QString path = pathOf(QStringLiteral("log.csv"));
    dialogs.queueFile(path);
    log.Save();
    const QByteArray expected = QStringLiteral("\"%1\",\"Location\",\"Room \"\"A\"\"\"\r\n"
                                               "\"%2\",\"Write failed, retry\",\" \"\"x\"\"\"\r\n")
                                    .arg(time0, time1)
                                    .toUtf8();
    EXPECT_EQ(contentsOf(path), expected);
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(fLogTest, OverwritingAnExistingEmptyFileAsksFirst) {
    const QString path = pathOf(QStringLiteral("ActivityLog.csv"));
    writeFile(path, {});
    log.LogCommand(QStringLiteral("Reading"), QStringLiteral("Ok"));

    dialogs.queueFile(path);
    dialogs.queueAnswer(DialogAnswer::Cancel);
    log.Save();
    EXPECT_EQ(dialogs.texts(), QStringList({OverwriteQuestion, CancelText}));
    EXPECT_EQ(dialogs.messages[0].icon, DialogIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(dialogs.messages[1].icon, DialogIcon::Warning);
    EXPECT_EQ(contentsOf(path), QByteArray());

    dialogs.messages.clear();
    dialogs.queueFile(path);
    dialogs.queueAnswer(DialogAnswer::Ok);
    log.Save();
    EXPECT_EQ(dialogs.texts(), QStringList({OverwriteQuestion}));
    EXPECT_TRUE(contentsOf(path).endsWith("\"Reading\",\"Ok\"\r\n"));
}

TEST_F(fLogTest, CancelledFileDialogSaysSoAndWritesNothing) {
    log.Save();
    EXPECT_EQ(dialogs.texts(), QStringList({CancelText}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// A failure's message is its reason followed by its number.
const QRegularExpression FailureMessage(QStringLiteral("^\\S.*\n\nError \\d+$"),
                                        QRegularExpression::DotMatchesEverythingOption);

TEST_F(fLogTest, SaveIntoAFolderThatCannotBeWrittenSaysWhy) {
    const QString notAFolder = pathOf(QStringLiteral("plain-file"));
    writeFile(notAFolder, "not a folder");
    log.LogCommand(QStringLiteral("Reading"), QStringLiteral("Ok"));
    dialogs.queueFile(notAFolder + QStringLiteral("/ActivityLog.csv"));
    log.Save();
    ASSERT_EQ(dialogs.messages.size(), 1);
    const QString failure = dialogs.messages[0].text;
    EXPECT_TRUE(FailureMessage.match(failure).hasMatch()) << failure.toStdString();
    EXPECT_TRUE(failure.startsWith(QStringLiteral("Not a directory"))) << failure.toStdString();
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::Ok);
    EXPECT_EQ(contentsOf(notAFolder), QByteArray("not a folder"));
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(fLogTest, FailedWriteLeavesTheOldFileAsItWasAndSaysWhy) {
    const QString path = pathOf(QStringLiteral("ActivityLog.csv"));
    const QByteArray old("\"10:00:00\",\"Reading\",\"Ok\"\r\n");
    writeFile(path, old);
    for (int i = 0; i < 50; ++i)
        log.LogCommand(QStringLiteral("Updating nciSetPts"), QStringLiteral("Ok"));
    dialogs.queueFile(path);
    dialogs.queueAnswer(DialogAnswer::Ok);
    {
        const FileSizeLimit limit(512);
        log.Save();
    }
    ASSERT_EQ(dialogs.messages.size(), 2);
    const QString failure = dialogs.messages[1].text;
    EXPECT_TRUE(FailureMessage.match(failure).hasMatch()) << failure.toStdString();
    EXPECT_TRUE(failure.startsWith(QStringLiteral("File too large"))) << failure.toStdString();
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("ActivityLog.csv")}));
    EXPECT_EQ(rowCount(), 50);
}

} // namespace
