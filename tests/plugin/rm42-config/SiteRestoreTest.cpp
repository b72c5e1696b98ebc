// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: a site saved into a folder with its manifest and
// restored device by device, and a run over many devices that meets a
// database it cannot read.
#include "ConfigToolFixture.h"
#include "SiteManifest.h"

#include <QProcess>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

const QString Twins = QStringLiteral("Twin Site");

class SiteRestore : public ConfigTool {
protected:
    // The demo network with RTU-11 of Floor 2 named RTU-1 as well.
    void addTwinSite() {
        const QString databases = root.path() + QStringLiteral("/LonWorks/Databases/");
        QFile demo(databases + Demo + QStringLiteral("/network.json"));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        QByteArray text = demo.readAll().replace("\"RTU-11\"", "\"RTU-1\"");
        ASSERT_TRUE(QDir().mkpath(databases + Twins));
        QFile twins(databases + Twins + QStringLiteral("/network.json"));
        ASSERT_TRUE(twins.open(QIODevice::WriteOnly));
        twins.write(text);
    }

    QString twinValue(const QString& device) {
        const ProcessResult shown = tool({"show", Twins, device, "--json"});
        for (const QJsonValue& tab :
             QJsonDocument::fromJson(shown.out.toUtf8()).object().value("tabs").toArray()) {
            for (const QJsonValue& entry : tab.toObject().value("fields").toArray()) {
                if (entry.toObject().value("name").toString() == "occ_heat_setpts")
                    return entry.toObject().value("value").toString();
            }
        }
        return QString();
    }
};

TEST_F(SiteRestore, TwoDevicesOfOneNameAreSavedApartAndBothRestored) {
    addTwinSite();
    const QString site = file("site");
    const ProcessResult saved = tool({"save", Twins, "--all", "-o", site});
    EXPECT_EQ(saved.exitCode, 1) << "RTU-3 does not answer";
    const QJsonObject manifest = json(site + "/manifest.json");
    EXPECT_EQ(manifest.value("network").toString(), Twins);
    EXPECT_FALSE(manifest.value("toolVersion").toString().isEmpty());
    const QJsonObject first = manifest.value("devices").toArray().first().toObject();
    EXPECT_EQ(first.value("device").toString(), "Floor 1/RTU-1");
    EXPECT_EQ(first.value("file").toString(), "Floor 1_RTU-1.json");
    EXPECT_EQ(first.value("hvacType").toString(), "HVT_ROOFTOP");
    EXPECT_EQ(first.value("sha256").toString().size(), 64);
    EXPECT_TRUE(QFile::exists(site + "/Floor 2_RTU-1.json"));
    const QString floor1 = twinValue("Floor 1/RTU-1");
    const QString floor2 = twinValue("Floor 2/RTU-1");
    for (const QString device : {"Floor 1/RTU-1", "Floor 2/RTU-1"})
        ASSERT_EQ(tool({"set", Twins, device, "occ_heat_setpts=66"}).exitCode, 0);

    const ProcessResult dry =
        tool({"restore", Twins, site, "--dry-run", "--only", "Floor 2/RTU-1"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.startsWith("Floor 2/RTU-1: would change 1 field\n"))
        << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("1 device: ")) << dry.out.toStdString();
    const ProcessResult restored = tool({"restore", Twins, site});
    EXPECT_EQ(restored.exitCode, 0) << restored.out.toStdString() << restored.err.toStdString();
    EXPECT_TRUE(restored.out.contains("6 devices: 2 changed, 4 unchanged"))
        << restored.out.toStdString();
    EXPECT_EQ(twinValue("Floor 1/RTU-1"), floor1);
    EXPECT_EQ(twinValue("Floor 2/RTU-1"), floor2);
    // The folder is not a file to apply.
    const ProcessResult folder = tool({"apply", Twins, site, "--all"});
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_TRUE(folder.err.contains("rm42-config restore NETWORK DIR")) << folder.err.toStdString();
}

TEST_F(SiteRestore, AFileThatIsNotTheOneSavedStopsTheWholeRestoreBeforeAnyWrite) {
    const QString site = file("site");
    tool({"save", Demo, "--subsystem", "Floor 2", "-o", site});
    edited(site + "/Floor 2_RTU-11.json", {{"password", "7"}}, "site/Floor 2_RTU-11.json");
    ASSERT_EQ(tool({"set", Demo, "HP-12", "comfort_mode=ECONOMY"}).exitCode, 0);
    clearJournal();
    const ProcessResult restored = tool({"restore", Demo, site});
    EXPECT_EQ(restored.exitCode, 2);
    EXPECT_TRUE(restored.err.contains("Floor 2_RTU-11.json: the file is not the one saved for "
                                      "Floor 2/RTU-11 (its checksum differs from the manifest's)"))
        << restored.err.toStdString();
    EXPECT_EQ(writes(), QStringList()) << "HP-12 is not restored either";
    // A second site saved into the same folder would mix with the first.
    const ProcessResult again = tool({"save", Demo, "--all", "-o", site});
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.err.contains("the folder is not empty")) << again.err.toStdString();
}

// Makes the database row of the device unreadable, as another process might.
void corruptDeviceRow(const QString& database, const QString& device) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 10000);
    const QByteArray sql = "UPDATE records SET document = '{', revision = revision + 1 WHERE "
                           "kind = 'device' AND document LIKE '%\"name\":\"" +
                           device.toUtf8() + "\"%'";
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_changes(db), 1);
    sqlite3_close(db);
}

TEST_F(SiteRestore, ARowCorruptedDuringARunFailsTheDevicesItReachesAndTheRunEnds) {
    const QString copy = edited(save("RTU-1"), {{"password", "42"}});
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LNS_SIM_LATENCY_MS", "20");
    run.setProcessEnvironment(environment);
    // One device at a time, so that the devices after the first meet the damage.
    run.start(programPath("rm42-config"), {"apply", Demo, copy, "--all", "--jobs", "1"});
    ASSERT_TRUE(run.waitForReadyRead(60000));
    const QString firstLine = QString::fromUtf8(run.readLine());
    EXPECT_EQ(firstLine, "Floor 1/RTU-1: changed 1 field\n");
    corruptDeviceRow(root.path() + "/LonWorks/Databases/" + Demo + "/network.sqlite3", "RTU-2");
    ASSERT_TRUE(run.waitForFinished(60000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << run.readAllStandardError().toStdString();
    EXPECT_EQ(run.exitCode(), 1);
    EXPECT_TRUE(out.contains("Floor 3/RTU-4: failed: ")) << out.toStdString();
    EXPECT_TRUE(out.contains("7 devices: 1 changed")) << out.toStdString();
}

// A backup is restored only as its manifest and files agree, from what its
// folder holds itself, into the network it was saved from unless the user
// says otherwise; a manifest that breaks any of this writes nothing.
TEST_F(SiteRestore, AManifestThatCannotBeTrustedIsRefusedBeforeAnyWrite) {
    const QString site = file("site");
    ASSERT_EQ(tool({"save", Demo, "--subsystem", "Floor 1", "-o", site}).exitCode, 0);
    const QString manifestPath = site + "/manifest.json";
    const QJsonObject manifest = json(manifestPath);
    const QJsonArray devices = manifest.value("devices").toArray();
    ASSERT_EQ(devices.size(), 2);
    const auto withDevices = [&](const QJsonArray& list) {
        QJsonObject edited = manifest;
        edited.insert("devices", list);
        return edited;
    };
    QJsonObject shortName = devices[0].toObject();
    shortName.insert("device", "RTU-1");
    QJsonObject otherType = devices[0].toObject();
    otherType.insert("hvacType", "HVT_HEAT_PUMP");
    ASSERT_EQ(tool({"set", Demo, "RTU-1", "occ_heat_setpts=66"}).exitCode, 0);
    clearJournal();
    const QList<QPair<QJsonObject, QString>> refused = {
        {withDevices({devices[0], devices[1], shortName}),
         "manifest.json: the device 1 (\"Floor 1/RTU-1\", file \"Floor 1_RTU-1.json\") and the "
         "device 3 (\"RTU-1\", file \"Floor 1_RTU-1.json\") are both for the device Floor "
         "1/RTU-1; nothing written"},
        {withDevices({otherType, devices[1]}),
         "the file is of HVAC type HVT_ROOFTOP, the manifest says HVT_HEAT_PUMP"},
    };
    for (const auto& [edited, message] : refused) {
        writeJson(manifestPath, edited);
        const ProcessResult restored = tool({"restore", Demo, site, "--jobs", "8"});
        EXPECT_EQ(restored.exitCode, 2);
        EXPECT_TRUE(restored.err.contains(message)) << restored.err.toStdString();
    }
    writeJson(manifestPath, manifest);

    // Links that lead out of the folder, and a folder that is a link.
    QTemporaryDir outside;
    const QString rtu1 = site + "/Floor 1_RTU-1.json";
    ASSERT_TRUE(QFile::copy(rtu1, outside.path() + "/RTU-1.json"));
    ASSERT_TRUE(QFile::remove(rtu1));
    ASSERT_TRUE(QFile::link(outside.path() + "/RTU-1.json", rtu1));
    const ProcessResult linkedFile = tool({"restore", Demo, site});
    EXPECT_EQ(linkedFile.exitCode, 2);
    EXPECT_TRUE(linkedFile.err.contains("Floor 1_RTU-1.json: a link to " + outside.path() +
                                        "/RTU-1.json, outside the backup folder: refused"))
        << linkedFile.err.toStdString();
    ASSERT_TRUE(QFile::remove(rtu1));
    ASSERT_TRUE(QFile::copy(outside.path() + "/RTU-1.json", rtu1));
    ASSERT_TRUE(QFile::rename(manifestPath, outside.path() + "/manifest.json"));
    ASSERT_TRUE(QFile::link(outside.path() + "/manifest.json", manifestPath));
    EXPECT_TRUE(tool({"restore", Demo, site}).err.contains("outside the backup folder"));
    ASSERT_TRUE(QFile::remove(manifestPath));
    ASSERT_TRUE(QFile::copy(outside.path() + "/manifest.json", manifestPath));
    ASSERT_TRUE(QFile::link(site, file("linked")));
    const ProcessResult linkedFolder = tool({"restore", Demo, file("linked")});
    EXPECT_EQ(linkedFolder.exitCode, 2);
    EXPECT_TRUE(linkedFolder.err.contains(": a symbolic link to "))
        << linkedFolder.err.toStdString();

    // Another network only when the user says so.
    const ProcessResult elsewhere = tool({"restore", "Offnet Site", site});
    EXPECT_EQ(elsewhere.exitCode, 2);
    EXPECT_TRUE(elsewhere.err.contains("the site was saved from the network \"Demo Building\", "
                                       "not \"Offnet Site\" (--into-network restores it"))
        << elsewhere.err.toStdString();
    EXPECT_EQ(writes(), QStringList());
    EXPECT_NE(tool({"restore", "Offnet Site", site, "--into-network", "--dry-run"}).exitCode, 2);
    const ProcessResult restored = tool({"restore", Demo, site});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_NE(shownValue("RTU-1", "occ_heat_setpts").toDouble(), 66);
    EXPECT_TRUE(tool({"restore", "--help"}).out.contains("--into-network"));
}

// The manifest is written once, at the end; a save killed part way leaves
// the devices' files and the journal of their entries, which restore reads.
TEST_F(SiteRestore, ASaveKilledPartWayLeavesAJournalThatRestoreReadsAsFarAsItGot) {
    const QString site = file("site");
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LNS_SIM_LATENCY_MS", "20");
    run.setProcessEnvironment(environment);
    run.start(programPath("rm42-config"), {"save", Demo, "--all", "-o", site, "--jobs", "1"});
    ASSERT_TRUE(run.waitForReadyRead(60000));
    EXPECT_EQ(QString::fromUtf8(run.readLine()), "Floor 1/RTU-1: saved\n");
    run.kill();
    run.waitForFinished(60000);
    EXPECT_FALSE(QFileInfo::exists(site + "/manifest.json"));
    ASSERT_TRUE(QFileInfo::exists(site + "/manifest.journal"));

    const ProcessResult restored = tool({"restore", Demo, site, "--dry-run"});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_TRUE(restored.out.contains("Floor 1/RTU-1: unchanged")) << restored.out.toStdString();

    // A whole run writes the manifest and leaves no journal.
    const QString whole = file("whole");
    const ProcessResult saved = tool({"save", Demo, "--all", "-o", whole});
    EXPECT_EQ(saved.exitCode, 1) << saved.err.toStdString(); // RTU-3 does not answer
    EXPECT_EQ(json(whole + "/manifest.json").value("devices").toArray().size(),
              saved.out.count(": saved\n"));
    EXPECT_FALSE(QFileInfo::exists(whole + "/manifest.journal"));
}

TEST(SiteJournal, ReadsAsTheManifestWithoutALastLineCutShort) {
    QTemporaryDir folder;
    SiteManifest head;
    head.network = QStringLiteral("Demo Building");
    head.saved = QDateTime::currentDateTimeUtc();
    const ManifestEntry first{QStringLiteral("Floor 1/RTU-1"), 4210, QStringLiteral("RTU"),
                              QStringLiteral("Floor 1_RTU-1.json"), QString(64, u'a')};
    const QByteArray cut = journalEntryLine(first).chopped(9);
    QFile journal(folder.filePath(JournalFileName));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(journalHeadLine(head) + journalEntryLine(first) + cut);
    journal.close();

    const SiteManifest read = readManifest(folder.path());
    EXPECT_EQ(read.network, head.network);
    ASSERT_EQ(read.devices.size(), 1u);
    EXPECT_EQ(read.devices[0].file, first.file);
    EXPECT_EQ(read.devices[0].model, first.model);

    // A manifest, once there, is what counts.
    SiteManifest whole = head;
    whole.devices = {first, first};
    QFile manifest(folder.filePath(ManifestFileName));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(manifestJson(whole));
    manifest.close();
    EXPECT_EQ(readManifest(folder.path()).devices.size(), 2u);
}

} // namespace
