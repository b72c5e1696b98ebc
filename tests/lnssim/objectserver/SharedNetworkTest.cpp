// SPDX-License-Identifier: Apache-2.0
// One network open in several processes (or several servers of one process,
// each with a connection of its own) at the same time.
#include "Failures.h"
#include "KitFolder.h"
#include "TestEnvironment.h"
#include "lns/LnsCodes.h"
#include "objectserver/SqliteConnection.h"

#include <QProcess>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

const QString Floor1 = QStringLiteral("Floor 1");
const QString Rtu1 = QStringLiteral("RTU-1");

QString databaseFile(const KitFolder& kit, const QString& network) {
    return kit.path() + QStringLiteral("/Databases/") + network +
           QStringLiteral("/network.sqlite3");
}

QByteArray readAll(const QString& file) {
    QFile input(file);
    return input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
}

// Another program writing the network's file with plain SQL.
class RawWriter {
public:
    explicit RawWriter(const QString& file) : m_connection(file, false) {}
    void run(const char* sql) { m_connection.exec(sql, QStringLiteral("%1")); }
    qint64 count(const char* sql) {
        auto query = m_connection.statement(sql, QStringLiteral("%1"));
        query.step();
        return query.number(0);
    }

private:
    lns::sim::SqliteConnection m_connection;
};

void startWriter(QProcess& process, const KitFolder& kit, const QString& property,
                 const QString& pattern, int count) {
    process.start(programPath(QStringLiteral("network-writer")),
                  {kit.path(), Floor1 + u'/' + Rtu1, property, pattern, QString::number(count)});
}

void expectWroteAll(QProcess& process, int count) {
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), QStringLiteral("wrote %1\n").arg(count).toUtf8());
}

// The sum of every row's revision: it rises with each write to the database.
qint64 revisions(const QString& file) {
    sqlite3* db = nullptr;
    qint64 sum = -1;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT SUM(revision) FROM records", -1, &select, nullptr);
        if (select && sqlite3_step(select) == SQLITE_ROW)
            sum = sqlite3_column_int64(select, 0);
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    return sum;
}

} // namespace

TEST(SharedNetwork, AnItemUpdateKeepsWhatAnotherServerWroteAndWritesNothingThatIsHeld) {
    KitFolder kit;
    OpenDemo window(kit.path());
    OpenDemo tool(kit.path());
    const QString cfg1 = QStringLiteral("nciCfg1RtuHp");
    const auto mine = window.property(Floor1, Rtu1, cfg1);
    const auto theirs = tool.property(Floor1, Rtu1, cfg1);
    mine->setFormatSpec(QStringLiteral("UNVT_cfg_1_rtu_hp#US"));
    theirs->setFormatSpec(QStringLiteral("UNVT_cfg_1_rtu_hp#SI"));
    const QStringList read = mine->FormattedValue().split(u' ');

    EXPECT_TRUE(theirs->updateFormattedElement(0, {{0, QStringLiteral("7")}}));
    EXPECT_TRUE(mine->updateFormattedElement(0, {{3, QStringLiteral("50")}}));
    QStringList expected = read;
    expected[0] = QStringLiteral("7");
    expected[3] = QStringLiteral("50");
    EXPECT_EQ(mine->FormattedValue().split(u' '), expected);

    // What the device holds already is not written again, in either unit system.
    const QString database = databaseFile(kit, QStringLiteral("Demo Building"));
    const qint64 before = revisions(database);
    EXPECT_FALSE(
        mine->updateFormattedElement(0, {{0, QStringLiteral("7")}, {3, QStringLiteral("50")}}));
    EXPECT_FALSE(
        theirs->updateFormattedElement(0, {{7, theirs->FormattedValue().section(u' ', 7, 7)}}));
    EXPECT_EQ(revisions(database), before);
    // A text the format refuses changes nothing.
    EXPECT_EQ(failureOf([&] {
                  mine->updateFormattedElement(0, {{0, QStringLiteral("1001")}});
              }).lnsCode(),
              lns::Code::FormatFailed);
    EXPECT_EQ(revisions(database), before);
}

TEST(SharedNetwork, TwoProcessesWritingPropertiesOfOneDeviceLoseNoValue) {
    KitFolder kit; // neither process finds a database: both load the description at once
    QProcess location;
    QProcess schedule;
    startWriter(location, kit, QStringLiteral("nciLocation"), QStringLiteral("Room %1"), 1000);
    startWriter(schedule, kit, QStringLiteral("nciDaySched"), QStringLiteral("%1 720 780 1080"),
                1000);
    // Each writer checks its previous value before every write.
    expectWroteAll(location, 1000);
    expectWroteAll(schedule, 1000);
    OpenDemo demo(kit.path());
    EXPECT_EQ(demo.property(Floor1, Rtu1, QStringLiteral("nciLocation"))->FormattedValue(),
              QStringLiteral("Room 1000"));
    EXPECT_EQ(demo.property(Floor1, Rtu1, QStringLiteral("nciDaySched"))->FormattedElement(0),
              QStringLiteral("1000 720 780 1080"));
}

TEST(SharedNetwork, AValueWrittenByAnotherProcessIsReadWithoutReopening) {
    KitFolder kit;
    OpenDemo reader(kit.path());
    const auto location = reader.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
    location->setFormatSpec(QStringLiteral("SNVT_str_asc#US"));
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));

    QProcess writer;
    startWriter(writer, kit, QStringLiteral("nciLocation"), QStringLiteral("Lobby %1"), 3);
    expectWroteAll(writer, 3);
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Lobby 3"));
    EXPECT_EQ(location->FormatSpec(), QStringLiteral("SNVT_str_asc#US")) << "kept by this process";
}

TEST(SharedNetwork, AnotherServerSeesATemplateOnlyWholeAndSeesItGo) {
    KitFolder kit;
    OpenDemo reader(kit.path());
    OpenDemo writer(kit.path());
    const auto seen = reader.system->TemplateLibrary()->DeviceTemplates();
    const auto templates = writer.system->TemplateLibrary()->DeviceTemplates();
    const auto created = templates->Add(QStringLiteral("Spare"), 1);
    EXPECT_EQ(templates->Count(), 2);
    EXPECT_EQ(seen->Count(), 1) << "an empty template is not shown to others";

    created->Import(writer.system->XifFolder() + QStringLiteral("\\zentaro\\RM42xx.XIF"));
    ASSERT_EQ(seen->Count(), 2);
    const auto imported = seen->Item(QStringLiteral("Spare"));
    EXPECT_EQ(imported->ProgramId(), QStringLiteral("8003DB5500040421"));
    EXPECT_EQ(imported->Interface()->LonMarkObjects()->Item(1)->ConfigProperties()->Count(), 12);

    templates->Remove(QStringLiteral("Spare"));
    EXPECT_EQ(seen->Count(), 1);
    const auto lateApps = imported->ComponentApps();
    const auto late = lateApps->Add(QStringLiteral("Late"), {}, 0);
    late->setCommandId(13);
    EXPECT_EQ(lnsCodeOf([&] { lateApps->Count(); }), lns::Code::NotFound)
        << "saving an application of a template another process removed fails";
    EXPECT_EQ(lateApps->Count(), 0);
}

TEST(SharedNetwork, ComponentApplicationsRemovedElsewhereStayRemovedAfterALocalWrite) {
    KitFolder kit;
    OpenDemo holder(kit.path());
    const auto location = holder.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
    {
        OpenDemo other(kit.path());
        const auto apps = other.system->ComponentApps();
        const auto app = apps->Add(QStringLiteral("Configure"), QStringLiteral("A.B"), 7);
        app->setCommandId(13);
        app->setDescription(QStringLiteral("Configure it"));
        EXPECT_EQ(holder.system->ComponentApps()->Count(), 0) << "seen only whole";
        EXPECT_EQ(apps->Count(), 1); // the adding process's next call saves it
        ASSERT_EQ(holder.system->ComponentApps()->Count(), 1);
        EXPECT_EQ(holder.system->ComponentApps()->Item(1)->CommandId(), 13);
        EXPECT_EQ(holder.system->ComponentApps()->Item(1)->Description(),
                  QStringLiteral("Configure it"));
        apps->Remove(1);
    }
    location->setFormattedElement(0, QStringLiteral("Server room"));
    OpenDemo again(kit.path());
    EXPECT_EQ(again.system->ComponentApps()->Count(), 0);
    EXPECT_EQ(again.property(Floor1, Rtu1, QStringLiteral("nciLocation"))->FormattedValue(),
              QStringLiteral("Server room"));
}

TEST(SharedNetwork, AGarbageDatabaseIsRefusedWithItsNameAndLeftAsItWas) {
    KitFolder kit;
    const QString file = databaseFile(kit, QStringLiteral("New Site"));
    const QByteArray garbage = QByteArray("not a database, just text\n").repeated(200);
    {
        QFile output(file);
        ASSERT_TRUE(output.open(QIODevice::WriteOnly));
        output.write(garbage);
    }
    lns::sim::SimObjectServer server(kit.path());
    server.Open();
    const auto network = server.Networks()->Item(QStringLiteral("New Site"));
    const Error error = failureOf([&] { network->Open(); });
    EXPECT_EQ(error.lnsCode(), lns::Code::DatabaseInvalid);
    EXPECT_TRUE(error.description().startsWith(file)) << error.description().toStdString();
    EXPECT_TRUE(error.description().contains(QStringLiteral("file is not a database")))
        << error.description().toStdString();
    EXPECT_FALSE(network->IsOpen());
    EXPECT_EQ(readAll(file), garbage);
    EXPECT_EQ(QFileInfo(file).dir().entryList(QDir::Files),
              (QStringList{QStringLiteral("network.json"), QStringLiteral("network.sqlite3")}));
}

TEST(SharedNetwork, AFailedSaveCarriesTheSystemsReasonAndChangesNothing) {
    KitFolder kit;
    OpenDemo demo(kit.path());
    const auto location = demo.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
    // Files may not grow: the database's log cannot take the change.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = previous;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const Error error =
        failureOf([&] { location->setFormattedElement(0, QStringLiteral("Server room")); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error.lnsCode(), lns::Code::DatabaseInvalid);
    EXPECT_TRUE(error.description().startsWith(QStringLiteral("Cannot save ") +
                                               databaseFile(kit, QStringLiteral("Demo Building")) +
                                               QStringLiteral(": ")))
        << error.description().toStdString();
    // The system's reason, not the database's "disk I/O error".
    EXPECT_TRUE(error.description().endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << error.description().toStdString();
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));
    location->setFormattedElement(0, QStringLiteral("Server room"));
    EXPECT_EQ(OpenDemo(kit.path())
                  .property(Floor1, Rtu1, QStringLiteral("nciLocation"))
                  ->FormattedValue(),
              QStringLiteral("Server room"));
}

TEST(SharedNetwork, DevicesAnotherProgramAddsOrRemovesAreSeenWithoutReopening) {
    KitFolder kit;
    OpenDemo reader(kit.path());
    const auto floor1 = reader.system->Subsystems()->Item(Floor1)->AppDevices();
    ASSERT_EQ(floor1->Count(), 2);
    RawWriter writer(databaseFile(kit, QStringLiteral("Demo Building")));
    writer.run("INSERT INTO records (kind, parent, revision, document)"
               " SELECT kind, parent, 1, json_set(document, '$.name', 'RTU-9') FROM records"
               " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
    writer.run("DELETE FROM records WHERE kind = 'device' AND"
               " json_extract(document, '$.name') = 'HP-1'");
    EXPECT_EQ(floor1->Count(), 2);
    EXPECT_EQ(floor1->Item(QStringLiteral("RTU-9"))->Name(), QStringLiteral("RTU-9"));
    EXPECT_EQ(lnsCodeOf([&] { floor1->Item(QStringLiteral("HP-1")); }), lns::Code::NotFound);
    EXPECT_EQ(reader.system->Subsystems()->Item(QStringLiteral("Floor 3"))->AppDevices()->Count(),
              3);
}

// A process so far behind that the oldest changes it missed are no longer
// listed compares every row instead; one just within the log reads the log.
// The log holds the newest 10,000 changes: after the change it must see, 9,999
// more keep that change listed, 10,000 more push it out by exactly one.
TEST(SharedNetwork, AProcessFarBehindStillSeesEveryChange) {
    for (const int later : {9999, 10000, 10001}) {
        SCOPED_TRACE(later);
        KitFolder kit;
        OpenDemo reader(kit.path());
        const auto location = reader.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
        EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));
        RawWriter writer(databaseFile(kit, QStringLiteral("Demo Building")));
        writer.run("BEGIN");
        writer.run("UPDATE records SET revision = revision + 1,"
                   " document = json_set(document, '$.failure', 'unreachable')"
                   " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
        for (int i = 0; i < later; ++i)
            writer.run("UPDATE records SET revision = revision + 1 WHERE kind = 'subsystem'"
                       " AND json_extract(document, '$.name') = 'Floor 3'");
        writer.run("COMMIT");
        EXPECT_EQ(lnsCodeOf([&] { location->FormattedValue(); }), lns::Code::DeviceUnreachable);
    }
}

// A file of a program without the change log gets it on its first open; that
// program's writes are seen all the same.
TEST(SharedNetwork, AFileWithoutAChangeLogGetsOneAndEarlierWritersAreSeen) {
    KitFolder kit;
    const QString file = databaseFile(kit, QStringLiteral("Demo Building"));
    { OpenDemo first(kit.path()); }
    {
        RawWriter writer(file);
        writer.run("DROP TRIGGER record_inserted; DROP TRIGGER record_updated;"
                   " DROP TRIGGER record_deleted; DROP TABLE changes;");
    }
    OpenDemo reader(kit.path());
    const auto location = reader.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));
    RawWriter writer(file);
    EXPECT_EQ(writer.count("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"), 3);
    writer.run("UPDATE records SET revision = revision + 1,"
               " document = json_set(document, '$.failure', 'unreachable')"
               " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
    EXPECT_EQ(lnsCodeOf([&] { location->FormattedValue(); }), lns::Code::DeviceUnreachable);
}

// A process learns of other processes' commits from the log index's header
// without a read transaction; the header must tell of every commit, also of
// the first one after another program emptied the log, and a commit of
// another connection of this process.
TEST(SharedNetwork, EveryCommitElsewhereIsSeenAlsoAfterTheLogWasEmptied) {
    KitFolder kit;
    const QString file = databaseFile(kit, QStringLiteral("Demo Building"));
    OpenDemo reader(kit.path());
    const auto location = reader.property(Floor1, Rtu1, QStringLiteral("nciLocation"));
    location->setFormatSpec(QStringLiteral("SNVT_str_asc#US"));
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));

    RawWriter writer(file);
    writer.run("PRAGMA wal_checkpoint(TRUNCATE)");
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));
    writer.run("UPDATE records SET revision = revision + 1,"
               " document = json_set(document, '$.failure', 'unreachable')"
               " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
    EXPECT_EQ(lnsCodeOf([&] { location->FormattedValue(); }), lns::Code::DeviceUnreachable);
    writer.run("UPDATE records SET revision = revision + 1,"
               " document = json_remove(document, '$.failure')"
               " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Floor 1 North Office"));

    OpenDemo(kit.path())
        .property(Floor1, Rtu1, QStringLiteral("nciLocation"))
        ->setFormattedElement(0, QStringLiteral("Lobby"));
    EXPECT_EQ(location->FormattedValue(), QStringLiteral("Lobby"));
}

// Writers that each hold the database a while, many at once and many times:
// with a busy timeout far shorter than the queue they form, every one still
// gets its turn, since they wait in the writers' queue and not on the timeout.
TEST(SharedNetwork, ManyWritersAtOnceEachGetTheirTurnHoweverLongTheQueue) {
    KitFolder kit;
    const QString file = databaseFile(kit, QStringLiteral("Demo Building"));
    { OpenDemo made(kit.path()); } // lays out the database
    constexpr int Writers = 16;
    constexpr int Rounds = 20;
    RawWriter reader(file);
    const qint64 before = reader.count("SELECT revision FROM records WHERE id = 1");
    std::atomic<int> failures = 0;
    {
        std::vector<std::jthread> writers;
        for (int w = 0; w < Writers; ++w) {
            writers.emplace_back([&] {
                lns::sim::SqliteConnection connection(file, false, 1);
                for (int round = 0; round < Rounds; ++round) {
                    try {
                        connection.beginWrite(QStringLiteral("%1"));
                        connection.exec("UPDATE records SET revision = revision + 1 WHERE id = 1",
                                        QStringLiteral("%1"));
                        std::this_thread::sleep_for(std::chrono::microseconds(500));
                        connection.commit(QStringLiteral("%1"));
                    } catch (const Error&) {
                        connection.rollback();
                        ++failures;
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(reader.count("SELECT revision FROM records WHERE id = 1"), before + Writers * Rounds);
}

// Openings of one network in a process share the rows of devices they have
// not handed out; a row another program changed is read again, never taken
// for the one an opening read before, and a device handed out follows it.
TEST(SharedNetwork, OpeningsInOneProcessShareDevicesButNeverAnOutdatedOne) {
    KitFolder kit;
    OpenDemo first(kit.path());
    const auto handedOut = first.device(Floor1, Rtu1);
    EXPECT_EQ(handedOut->State(), 4);
    RawWriter writer(databaseFile(kit, QStringLiteral("Demo Building")));
    writer.run("UPDATE records SET revision = revision + 1,"
               " document = json_set(document, '$.failure', 'unreachable')"
               " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'");
    OpenDemo second(kit.path());
    EXPECT_EQ(lnsCodeOf([&] { second.device(Floor1, Rtu1)->State(); }),
              lns::Code::DeviceUnreachable);
    EXPECT_EQ(lnsCodeOf([&] { handedOut->State(); }), lns::Code::DeviceUnreachable);
    EXPECT_EQ(first.device(Floor1, QStringLiteral("HP-1"))->Name(), QStringLiteral("HP-1"));
}

// Workers of one program, an opening each, write their own devices while
// another keeps looking the devices up (swapping the shared records under
// them): every value each wrote is the one it reads back, and a later
// opening reads the last of each.
TEST(SharedNetwork, OpeningsInThreadsOfOneProcessEachKeepWhatTheyWrote) {
    KitFolder kit;
    const std::vector<std::pair<QString, QString>> devices{{Floor1, Rtu1},
                                                           {Floor1, QStringLiteral("HP-1")},
                                                           {QStringLiteral("Floor 2"),
                                                            QStringLiteral("RTU-11")}};
    constexpr int Writes = 30;
    std::atomic<int> mismatches = 0;
    std::atomic<bool> writing = true;
    std::vector<std::thread> workers;
    for (const auto& [subsystem, name] : devices) {
        workers.emplace_back([&, subsystem = subsystem, name = name] {
            OpenDemo own(kit.path());
            const auto location = own.property(subsystem, name, QStringLiteral("nciLocation"));
            location->setFormatSpec(QStringLiteral("SNVT_str_asc#US"));
            for (int n = 1; n <= Writes; ++n) {
                const QString text = QStringLiteral("%1 %2").arg(name).arg(n);
                location->setFormattedElement(0, text);
                mismatches += location->FormattedValue() != text;
            }
        });
    }
    std::thread looker([&] {
        OpenDemo own(kit.path());
        while (writing)
            for (const auto& [subsystem, name] : devices)
                mismatches += own.device(subsystem, name)->Name() != name;
    });
    for (std::thread& worker : workers)
        worker.join();
    writing = false;
    looker.join();
    EXPECT_EQ(mismatches, 0);
    OpenDemo later(kit.path());
    for (const auto& [subsystem, name] : devices) {
        const auto location = later.property(subsystem, name, QStringLiteral("nciLocation"));
        location->setFormatSpec(QStringLiteral("SNVT_str_asc#US"));
        EXPECT_EQ(location->FormattedValue(), QStringLiteral("%1 %2").arg(name).arg(Writes));
    }
}
