// SPDX-License-Identifier: Apache-2.0
// The plug-in lives as long as its host needs it: over the real programs on a
// virtual X display, where its message boxes are real windows that the test
// answers with the keyboard, as a user would.
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");
const QString Unreachable = QStringLiteral("Demo Building/System 1/Floor 3/RTU-3");
const QString Reachable = QStringLiteral("Demo Building/System 1/Floor 1/RTU-1");

// An X server of its own for the test, on the first free display number.
class VirtualDisplay {
public:
    VirtualDisplay() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        // Its log is not read: a full pipe would stop the server.
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                                QStringLiteral("-screen"), QStringLiteral("0"),
                                                QStringLiteral("1280x1024x24")});
        m_server.waitForStarted();
        const QDeadlineTimer deadline(20000);
        while (!m_server.canReadLine() && !deadline.hasExpired() &&
               m_server.state() == QProcess::Running)
            m_server.waitForReadyRead(200);
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_name = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~VirtualDisplay() {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
    }

    QString name() const { return m_name; }

    // The visible window whose title is `title`, waited for; empty when none comes.
    QString waitForWindow(const QString& title, int timeoutMs = 30000) {
        const QDeadlineTimer deadline(timeoutMs);
        do {
            const QString found = visibleWindow(title);
            if (!found.isEmpty())
                return found;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        return QString();
    }

    QString visibleWindow(const QString& title) {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})
            .section(u'\n', 0, 0);
    }

    // Keys typed into the window, with the focus given to it first.
    void type(const QString& window, const QStringList& keys) {
        xdotool(QStringList{QStringLiteral("windowfocus"), QStringLiteral("--sync"), window,
                            QStringLiteral("key"), QStringLiteral("--delay"),
                            QStringLiteral("100")} +
                keys);
    }

private:
    QString xdotool(const QStringList& arguments) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    QProcess m_server;
    QString m_name;
};

class PlugInLifetime : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("RM42_SNAPSHOT_DIR", snapshots().toUtf8());
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        ASSERT_EQ(runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regplugin")})
                      .exitCode,
                  0);
    }
    void TearDown() override { qunsetenv("RM42_SNAPSHOT_DIR"); }

    QString snapshots() const { return root.path() + QStringLiteral("/snapshots"); }

    // RTU-3 answers again, as a device whose cable was plugged back in.
    void bringBackRtu3() {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"),
                     {QDir(root.path() + QStringLiteral("/LonWorks/Databases/Demo Building"))
                          .filePath(QStringLiteral("network.sqlite3")),
                      QStringLiteral("UPDATE records SET revision = revision + 1, document = "
                                     "json_remove(document, '$.failure') WHERE kind = 'device' "
                                     "AND json_extract(document, '$.name') = 'RTU-3';")});
        ASSERT_TRUE(endedInTime(sqlite));
        ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    }

    TempPlatformRoot root;
};

// The host's usual order is command 13 and then Visible. A device that cannot
// be read before the window was ever shown is answered Abort, Ignore or Retry
// in real message boxes; each time the plug-in answers the host and serves on.
TEST_F(PlugInLifetime, ReadFailuresBeforeTheWindowIsShownNeverEndThePlugIn) {
    VirtualDisplay display;
    if (display.name().isEmpty())
        GTEST_SKIP() << "no Xvfb and xdotool here";
    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display.name());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("RM42_UNATTENDED"));
    host.setProcessEnvironment(environment);
    host.start(programPath(QStringLiteral("lns-host")),
               {QStringLiteral("run"), ProgId, QStringLiteral("-")});
    ASSERT_TRUE(host.waitForStarted());
    const QString command = QStringLiteral("call SendCommand 13 7 \"%1\"\n");
    host.write(QStringLiteral("create\nset networkName \"Demo Building\"\n"
                              "call SendCommand 50 0 \"\"\n")
                   .toUtf8() +
               command.arg(Unreachable).repeated(3).toUtf8() +
               QStringLiteral("set Visible true\n").toUtf8() + command.arg(Reachable).toUtf8() +
               QStringLiteral("get Visible\nset Visible false\nrelease\n").toUtf8());
    host.closeWriteChannel();

    QStringList answers;
    const auto answered = [&](qsizetype count, int timeoutMs = 30000) {
        const QDeadlineTimer deadline(timeoutMs);
        while (answers.size() < count && !deadline.hasExpired() &&
               host.state() == QProcess::Running) {
            host.waitForReadyRead(100);
            while (host.canReadLine())
                answers << QString::fromUtf8(host.readLine()).trimmed();
        }
        return answers.size() >= count;
    };
    const QString box = QStringLiteral("fMain ReadInitValues");
    // Abort is the default button, Retry and Ignore follow it.
    const QStringList abort{QStringLiteral("Return")};
    const QStringList retry{QStringLiteral("Tab"), QStringLiteral("space")};
    const QStringList ignore{QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")};

    ASSERT_TRUE(answered(3)) << qPrintable(answers.join(u'|'));
    QString window = display.waitForWindow(box);
    ASSERT_FALSE(window.isEmpty()) << "no message box for the failed read";
    display.type(window, abort);
    ASSERT_TRUE(answered(4)) << qPrintable(answers.join(u'|') + host.readAllStandardError());

    // Every read of the device fails in turn; each is ignored.
    window = display.waitForWindow(box);
    ASSERT_FALSE(window.isEmpty());
    for (int boxes = 0; !answered(5, 200) && boxes < 40; ++boxes) {
        window = display.waitForWindow(box, 2000);
        if (!window.isEmpty())
            display.type(window, ignore);
    }
    ASSERT_EQ(answers.size(), 5) << qPrintable(answers.join(u'|') + host.readAllStandardError());

    window = display.waitForWindow(box);
    ASSERT_FALSE(window.isEmpty());
    bringBackRtu3();
    display.type(window, retry);

    ASSERT_TRUE(endedInTime(host));
    while (host.canReadLine())
        answers << QString::fromUtf8(host.readLine()).trimmed();
    answers << QString::fromUtf8(host.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    const QString err = QString::fromUtf8(host.readAllStandardError());
    EXPECT_FALSE(err.contains(QStringLiteral("before it answered"))) << qPrintable(err);
    // Every request is answered: the opened device, the shown window, the next device.
    EXPECT_EQ(answers, (QStringList{"object 1", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "true",
                                    "ok", "ok"}))
        << qPrintable(err);
    EXPECT_EQ(host.exitCode(), 0);

    QFile values(snapshots() + QStringLiteral("/RTU-1-values.txt"));
    ASSERT_TRUE(values.open(QIODevice::ReadOnly));
    EXPECT_TRUE(values.readAll().contains("Floor 1/RTU-1"));
    // The third opening read RTU-3 once it was back.
    QFile reopened(snapshots() + QStringLiteral("/RTU-3-values.txt"));
    ASSERT_TRUE(reopened.open(QIODevice::ReadOnly));
    const QString location = QString::fromUtf8(reopened.readAll())
                                 .section(QStringLiteral("txtNvi_51\t"), 1)
                                 .section(u'\t', 0, 0);
    EXPECT_FALSE(location.isEmpty());
}

} // namespace
