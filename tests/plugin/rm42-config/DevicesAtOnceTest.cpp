// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: a run that works on several devices at once prints,
// logs, backs up and ends exactly as one that takes them one at a time.
#include "ConfigToolFixture.h"

namespace {

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
