// SPDX-License-Identifier: Apache-2.0
#include "KitFolder.h"
#include "TestEnvironment.h"
#include "lns/LnsCodes.h"
#include "objectserver/RowMap.h"
#include "platform/Error.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& file) {
    QFile input(file);
    return input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
}

void writeAll(const QString& file, const QByteArray& content) {
    QFile output(file);
    ASSERT_TRUE(output.open(QIODevice::WriteOnly | QIODevice::Truncate));
    output.write(content);
}

// Opens the network whose file has been replaced by `content`; returns the refusal.
Error refusalOf(const KitFolder& kit, const QByteArray& content) {
    writeAll(kit.networkFile(QStringLiteral("New Site")), content);
    lns::sim::SimObjectServer server(kit.path());
    server.Open();
    auto network = server.Networks()->Item(QStringLiteral("New Site"));
    try {
        network->Open();
    } catch (const Error& error) {
        EXPECT_FALSE(network->IsOpen());
        return error;
    }
    ADD_FAILURE() << "the database was accepted";
    return Error(0, QString(), QString());
}

QByteArray withSystemField(const KitFolder& kit, const char* key, const QJsonValue& value) {
    QJsonObject root =
        QJsonDocument::fromJson(readAll(kit.networkFile(QStringLiteral("New Site")))).object();
    QJsonArray systems = root.value("systems").toArray();
    QJsonObject system = systems.first().toObject();
    if (value.isUndefined())
        system.remove(QLatin1String(key));
    else
        system.insert(QLatin1String(key), value);
    systems.replace(0, system);
    root.insert("systems", systems);
    return QJsonDocument(root).toJson();
}

} // namespace

TEST(NetworkDatabase, RefusesABadFileNamingTheFileAndFieldAndLeavesItUntouched) {
    KitFolder kit;
    const QString file = kit.networkFile(QStringLiteral("New Site"));
    struct Case {
        QByteArray content;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"{ \"systems\": [ ", QStringLiteral("not a JSON document")},
        {"", QStringLiteral("not a JSON document")},
        // Qt's reader would keep the second list and round the number, silently.
        {"{\"systems\": [],\n \"systems\": []}",
         QStringLiteral("the key \"systems\" is given twice in one object, on line 2 (first on "
                        "line 1)")},
        {"{\"systems\": [],\n \"revision\": 18446744073709551617}",
         QStringLiteral("line 2: the number 18446744073709551617 cannot be held exactly")},
        {"[1, 2]", QStringLiteral("the top level must be a JSON object")},
        {withSystemField(kit, "managementMode", QJsonValue::Undefined),
         QStringLiteral("field \"systems[0].managementMode\" is missing")},
        {withSystemField(kit, "name", 7),
         QStringLiteral("field \"systems[0].name\" is not a string")},
        {withSystemField(kit, "managementMode", 2.5),
         QStringLiteral("field \"systems[0].managementMode\" is not a whole number")},
        {withSystemField(kit, "subsystems", "none"),
         QStringLiteral("field \"systems[0].subsystems\" is not an array")},
        {withSystemField(kit, "channel", QJsonObject{{"medium", "PL-20"}}),
         QStringLiteral("the medium \"PL-20\" needs \"transactionsPerSecond\"")},
        {withSystemField(kit, "channel", QJsonObject{{"transactionsPerSecond", 0}}),
         QStringLiteral("systems[0].channel.transactionsPerSecond")},
    };
    for (const Case& bad : cases) {
        const Error error = refusalOf(kit, bad.content);
        EXPECT_EQ(error.lnsCode(), lns::Code::DatabaseInvalid);
        EXPECT_TRUE(error.description().startsWith(file)) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(bad.expected))
            << error.description().toStdString();
        EXPECT_EQ(readAll(file), bad.content);
    }
}

TEST(NetworkDatabase, RefusesBadValuesDeepInsideADevice) {
    KitFolder kit;
    const QString file = kit.networkFile(QStringLiteral("Demo Building"));
    QByteArray content = readAll(file);
    const QByteArray original = content;
    content.replace("\"failure\": \"unreachable\"", "\"failure\": \"sometimes\"");
    writeAll(file, content);
    lns::sim::SimObjectServer server(kit.path());
    server.Open();
    try {
        server.Networks()->Item(QStringLiteral("Demo Building"))->Open();
        FAIL() << "accepted";
    } catch (const Error& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("devices[1].failure")))
            << error.description().toStdString();
    }
    EXPECT_NE(content, original);
    EXPECT_EQ(readAll(file), content);
}

// Descriptions no caller could use: a device that can never be found by its
// name, an element count that does not fit the 16 bits callers read. A long
// value is still a value.
TEST(NetworkDatabase, RefusesTwoDevicesOfOneNameAndOversizedPropertiesButTakesLongValues) {
    const auto refusal = [](const std::function<void(QByteArray&)>& edit) {
        KitFolder kit;
        const QString file = kit.networkFile(QStringLiteral("Demo Building"));
        QByteArray content = readAll(file);
        edit(content);
        writeAll(file, content);
        lns::sim::SimObjectServer server(kit.path());
        server.Open();
        try {
            server.Networks()->Item(QStringLiteral("Demo Building"))->Open();
        } catch (const Error& error) {
            EXPECT_EQ(readAll(file), content);
            return error.description();
        }
        return QStringLiteral("accepted");
    };
    EXPECT_TRUE(refusal([](QByteArray& content) {
                    content.replace("\"name\": \"HP-1\"", "\"name\": \"RTU-1\"");
                }).contains(QStringLiteral("holds two devices named \"RTU-1\"")));
    EXPECT_TRUE(refusal([](QByteArray& content) {
                    const QByteArray opening = "\"elements\": [";
                    QByteArray many = opening;
                    for (int i = 0; i < 32768; ++i)
                        many += "\"00\",";
                    content.replace(content.indexOf(opening), opening.size(), many);
                }).contains(QStringLiteral("holds more than 32767 elements")));
    EXPECT_EQ(refusal([](QByteArray& content) {
                  const QByteArray location = "\"466c6f6f722031204e6f727468204f6666696365";
                  content.replace(location, location + QByteArray(200 * 1024, 'e'));
              }),
              QStringLiteral("accepted"));
}

TEST(NetworkDatabase, ChangesAreSavedAndSeenByTheNextServer) {
    KitFolder kit;
    {
        OpenDemo demo(kit.path());
        demo.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                      QStringLiteral("nciLocation"))
            ->setFormattedElement(0, QStringLiteral("Server room"));
        demo.system->TemplateLibrary()->DeviceTemplates()->Add(QStringLiteral("Spare"), 1);
    }
    OpenDemo again(kit.path());
    EXPECT_EQ(again
                  .property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                            QStringLiteral("nciLocation"))
                  ->FormattedValue(),
              QStringLiteral("Server room"));
    EXPECT_EQ(again.system->TemplateLibrary()->DeviceTemplates()->Count(), 2);
}

TEST(NetworkDatabase, AProcessKilledWhileSavingLeavesAWholeFile) {
    KitFolder kit;
    for (int round = 0; round < 5; ++round) {
        QProcess saver;
        saver.start(programPath(QStringLiteral("database-saver")), {kit.path()});
        ASSERT_TRUE(saver.waitForReadyRead(10000));
        QThread::msleep(50 + 37 * round);
        saver.kill();
        saver.waitForFinished();
        OpenDemo demo(kit.path());
        const QString location = demo.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                                               QStringLiteral("nciLocation"))
                                     ->FormattedValue();
        EXPECT_TRUE(location.startsWith(QStringLiteral("Round")) ||
                    location == QStringLiteral("Floor 1 North Office"))
            << location.toStdString();
    }
}

// Rows come in id order and new ones take the highest ids, but a map of
// them must stay in order whatever order they come in.
TEST(RowMap, KeepsRowsInIdOrderHoweverTheyCome) {
    lns::sim::RowMap<lns::sim::SubsystemRecord> rows;
    const auto named = [](const char* name) {
        auto record = std::make_shared<lns::sim::SubsystemRecord>();
        record->name = QLatin1String(name);
        return record;
    };
    rows[5] = named("five");
    rows[9] = named("nine");
    rows[1] = named("one");
    rows[7] = named("seven");
    rows[9] = named("nine again");
    QStringList inOrder;
    for (const auto& [id, record] : rows)
        inOrder << QStringLiteral("%1 %2").arg(id).arg(record->name);
    EXPECT_EQ(inOrder.join(','), QStringLiteral("1 one,5 five,7 seven,9 nine again"));
    EXPECT_EQ(rows.find(7)->second->name, QStringLiteral("seven"));
    EXPECT_EQ(rows.find(6), rows.end());
    EXPECT_EQ(rows.find(10), rows.end());
    EXPECT_EQ(rows.erase(5), 1u);
    EXPECT_EQ(rows.erase(5), 0u);
    EXPECT_TRUE(rows.eraseIf([](qint64 id) { return id > 8; }));
    EXPECT_FALSE(rows.eraseIf([](qint64 id) { return id > 8; }));
    inOrder.clear();
    for (const auto& [id, record] : rows)
        inOrder << QString::number(id);
    EXPECT_EQ(inOrder.join(','), QStringLiteral("1,7"));
}
