// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: a run that works on several devices at once prints,
// logs, backs up and ends exactly as one that takes them one at a time.
#include "ConfigToolFixture.h"
#include "DevicesInFlight.h"

#include <cmath>

namespace {

// A channel that carries `capacity` devices a second, each taking `alone`
// seconds on a free channel: runs `count` devices, a level at a time, and
// returns the seconds the run took; `rule` is left as it ended.
double runOnChannel(DevicesInFlight& rule, double capacity, double alone, int count) {
    double now = 0;
    int started = 0;
    while (started < count) {
        const int inFlight = std::min(rule.goal(), count - started);
        for (int n = 1; n <= inFlight; ++n)
            rule.started(n, now);
        const double each = std::max(alone, inFlight / capacity);
        now += each;
        started += inFlight;
        for (int n = 0; n < inFlight; ++n)
            rule.finished(now);
    }
    return now;
}

const QString DemoCopy = QStringLiteral("Demo Copy");

// What a run leaves for its user to see.
struct Seen {
    QString applied;
    int appliedStatus = -1;
    QStringList backedUp; // "device -> file" in the manifest's order
    QString restored;
    int restoredStatus = -1;
    QString log;          // without the rows' times and the rows written out of turn
    QStringList updating; // the devices of "Updating device" rows, sorted
};

class DevicesAtOnce : public ConfigTool {
protected:
    void SetUp() override {
        ConfigTool::SetUp();
        const QString databases = root.path() + QStringLiteral("/LonWorks/Databases/");
        ASSERT_TRUE(QDir().mkpath(databases + DemoCopy));
        ASSERT_TRUE(QFile::copy(databases + Demo + QStringLiteral("/network.json"),
                                databases + DemoCopy + QStringLiteral("/network.json")));
        // Devices take long enough to overlap, and the quick failures end first.
        qputenv("LNS_SIM_LATENCY_MS", "5");
    }
    void TearDown() override {
        qunsetenv("LNS_SIM_LATENCY_MS");
        ConfigTool::TearDown();
    }

    // Applies the file to every thermostat of `network`, then restores the
    // backups of that run, both with `jobs` devices at once.
    Seen applyAndRestore(const QString& network, const QString& changes, const QString& jobs) {
        const QString log = file(QStringLiteral("log-") + jobs + QStringLiteral(".csv"));
        const QString backups = file(QStringLiteral("backups-") + jobs);
        Seen seen;
        const ProcessResult applied = tool({"apply", network, changes, "--all", "--jobs", jobs,
                                            "--log", log, "--backup", backups});
        seen.applied = applied.out;
        seen.applied.remove(QRegularExpression(QStringLiteral("backups before the changes: .*\n")));
        seen.appliedStatus = applied.exitCode;
        const QStringList runs = QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        EXPECT_EQ(runs.size(), 1) << applied.out.toStdString();
        const QString run = backups + u'/' + runs.value(0);
        for (const QJsonValue& entry :
             json(run + QStringLiteral("/manifest.json")).value("devices").toArray())
            seen.backedUp << entry.toObject().value("device").toString() + " -> " +
                                 entry.toObject().value("file").toString();
        const ProcessResult restored =
            tool({"restore", network, run, "--jobs", jobs, "--log", log});
        seen.restored = restored.out;
        seen.restoredStatus = restored.exitCode;
        QFile rows(log);
        EXPECT_TRUE(rows.open(QIODevice::ReadOnly));
        seen.log = QString::fromUtf8(rows.readAll())
                       .remove(QRegularExpression(QStringLiteral("^\"[^\"]*\","),
                                                  QRegularExpression::MultilineOption));
        // Written before each device's first write, as soon as it comes.
        const QRegularExpression updating(QStringLiteral("^\"Updating device\",\"(.*)\"\r\n"),
                                          QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch& row : updating.globalMatch(seen.log))
            seen.updating << row.captured(1);
        seen.updating.sort();
        seen.log.remove(updating);
        return seen;
    }
};

TEST_F(DevicesAtOnce, EightAtOncePrintLogBackUpRestoreAndEndAsOneAtATime) {
    const QString changes = edited(save("RTU-1"), {{"password", "42"}});
    const Seen one = applyAndRestore(Demo, changes, "1");
    const Seen eight = applyAndRestore(DemoCopy, changes, "8");

    // RTU-3 does not answer and RTU-4 takes no write: each fails alone.
    EXPECT_TRUE(one.applied.contains("Floor 3/RTU-3: failed: ")) << one.applied.toStdString();
    EXPECT_TRUE(one.applied.contains("7 devices: 3 changed, 0 unchanged, 2 skipped, 2 failed"))
        << one.applied.toStdString();
    EXPECT_TRUE(one.restored.contains("4 devices: 3 changed, 1 unchanged"))
        << one.restored.toStdString();
    EXPECT_EQ(one.appliedStatus, 1);
    EXPECT_EQ(one.backedUp.size(), 4);

    EXPECT_EQ(eight.applied.toStdString(), one.applied.toStdString());
    EXPECT_EQ(eight.appliedStatus, one.appliedStatus);
    EXPECT_EQ(eight.backedUp, one.backedUp);
    EXPECT_EQ(eight.restored.toStdString(), one.restored.toStdString());
    EXPECT_EQ(eight.restoredStatus, one.restoredStatus);
    EXPECT_EQ(eight.log.toStdString(), one.log.toStdString());
    EXPECT_EQ(eight.updating, one.updating);
    // Four written (RTU-4 refuses its write), three of them put back.
    EXPECT_EQ(one.updating.size(), 7) << one.updating.join(',').toStdString();
}

} // namespace

TEST(DevicesInFlight, FitsTheChannelAndNoMoreWithinATenthOfItsTime) {
    struct Case {
        double capacity; // devices a second
        double alone;    // seconds of one device on a free channel
        int fits;        // devices in flight that fill the channel, and a tenth more
    };
    // Twisted pair at 100 transactions a second, 20 transactions of 40 ms
    // and of 60 ms a device; an IP channel; a channel that never fills; one
    // that a single device fills, where a second keeps it full in the gaps.
    for (const Case& channel : {Case{5, 0.8, 5}, Case{5, 1.2, 7}, Case{250, 0.8, 64},
                                Case{1000, 0.8, 64}, Case{5, 0.1, 2}}) {
        DevicesInFlight rule(0, 64);
        const int count = 100;
        const double seconds = runOnChannel(rule, channel.capacity, channel.alone, count);
        EXPECT_EQ(rule.goal(), channel.fits) << channel.capacity << " " << channel.alone;
        const double channelBound = std::max(count / channel.capacity, channel.alone);
        // A channel that never fills has the most in flight from then on.
        if (channel.fits < 64) {
            EXPECT_TRUE(rule.settled());
            EXPECT_LE(seconds, 1.1 * channelBound + 2 * channel.alone)
                << channel.capacity << " " << channel.alone;
        }
    }
}

TEST(DevicesInFlight, AFixedNumberStaysAsGiven) {
    DevicesInFlight rule(3, 64);
    EXPECT_FALSE(rule.fitted());
    runOnChannel(rule, 5, 0.8, 100);
    EXPECT_EQ(rule.goal(), 3);
}
