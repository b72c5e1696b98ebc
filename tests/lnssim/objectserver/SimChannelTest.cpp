// SPDX-License-Identifier: Apache-2.0
// A network's channel: a limited number of transactions a second, shared by
// every thread and process that talks to the network, on top of latency.
#include "objectserver/SimChannel.h"

#include "KitFolder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using lns::sim::SimChannel;

namespace {

constexpr std::int64_t Ms = 1'000'000;

// Milliseconds that `transactions` transactions on the channel take.
qint64 carried(const QString& ledger, int transactions, double perSecond, int latencyMs = 0) {
    SimChannel channel(ledger);
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < transactions; ++n)
        channel.carry(perSecond, latencyMs);
    return clock.elapsed();
}

// The kit's "New Site" with the channel of its system replaced, and a
// thermostat copied from the demo so that it has a device to talk to.
void describeChannel(const KitFolder& kit, const QJsonValue& channel) {
    const auto read = [](const QString& file) {
        QFile input(file);
        input.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(input.readAll()).object();
    };
    const QJsonObject demo = read(kit.networkFile(QStringLiteral("Demo Building")));
    QJsonObject site = read(kit.networkFile(QStringLiteral("New Site")));
    QJsonArray systems = site.value("systems").toArray();
    QJsonObject system = systems.first().toObject();
    QJsonObject demoSystem = demo.value("systems").toArray().first().toObject();
    system.insert("channel", channel);
    system.insert("subsystems", demoSystem.value("subsystems"));
    system.insert("templates", demoSystem.value("templates"));
    systems.replace(0, system);
    site.insert("systems", systems);
    QFile output(kit.networkFile(QStringLiteral("New Site")));
    output.open(QIODevice::WriteOnly | QIODevice::Truncate);
    output.write(QJsonDocument(site).toJson());
}

// Twenty tests of a device: the milliseconds they take.
qint64 twentyTests(const OpenDemo& site) {
    const auto device = site.device(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"));
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < 20; ++n)
        device->Test();
    return clock.elapsed();
}

// The tests run with the channels' limit lifted; these set their own.
class Channel : public ::testing::Test {
protected:
    void SetUp() override {
        m_lifted = qgetenv("LNS_SIM_CHANNEL_CAPACITY");
        qunsetenv("LNS_SIM_CHANNEL_CAPACITY");
    }
    void TearDown() override { qputenv("LNS_SIM_CHANNEL_CAPACITY", m_lifted); }

private:
    QByteArray m_lifted;
};

} // namespace

TEST_F(Channel, ATransactionQueuesBehindTheChannelAndTakesAtLeastItsLatency) {
    const std::int64_t now = 1'000 * Ms;
    // 100 a second: a slot of 10 ms; a free channel starts at once.
    SimChannel::Slot slot = SimChannel::slotFor(now, now - 5 * Ms, 100, 0);
    EXPECT_EQ(slot.begins, now);
    EXPECT_EQ(slot.ends, now + 10 * Ms);
    EXPECT_EQ(slot.frees, now + 10 * Ms);
    // Behind others it waits; its latency runs from its slot, the channel is
    // free again after the slot alone.
    slot = SimChannel::slotFor(now, now + 30 * Ms, 100, 40);
    EXPECT_EQ(slot.begins, now + 30 * Ms);
    EXPECT_EQ(slot.ends, now + 70 * Ms);
    EXPECT_EQ(slot.frees, now + 40 * Ms);
    // Without a limit the latency alone counts, and the ledger stays.
    slot = SimChannel::slotFor(now, now + 30 * Ms, 0, 40);
    EXPECT_EQ(slot.begins, now);
    EXPECT_EQ(slot.ends, now + 40 * Ms);
    EXPECT_EQ(slot.frees, now + 30 * Ms);
    // A ledger far ahead was left by a clock set back: no one waits for it.
    slot = SimChannel::slotFor(now, now + 3'600'000 * Ms, 100, 0);
    EXPECT_EQ(slot.begins, now);
}

TEST_F(Channel, ThreadsAndProcessesOfOneNetworkShareItsCapacity) {
    const QTemporaryDir folder;
    const QString ledger = folder.filePath(QStringLiteral("network.channel"));
    // Alone, 20 transactions at 200 a second take 100 ms.
    EXPECT_GE(carried(ledger, 20, 200), 99);

    // Two threads and another process, 20 each: 60 slots of 5 ms shared,
    // and each asks its next slot only after its last, so each waits behind
    // the others and none is done before about 300 ms; the ledger they share
    // ends at least 60 slots later.
    const std::int64_t start = QDateTime::currentMSecsSinceEpoch() * Ms;
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0)
        _exit(carried(ledger, 20, 200) >= 200 ? 0 : 1);
    std::vector<qint64> times(2);
    {
        std::vector<std::jthread> threads;
        for (qint64& time : times)
            threads.emplace_back([&] { time = carried(ledger, 20, 200); });
    }
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the other process had the channel to itself";
    for (const qint64 time : times)
        EXPECT_GE(time, 200);
    QFile file(ledger);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::int64_t nextFree = 0;
    ASSERT_EQ(file.read(reinterpret_cast<char*>(&nextFree), sizeof nextFree), 8);
    EXPECT_GE(nextFree - start, 60 * 5 * Ms);
}

TEST_F(Channel, ANetworkTakesItsChannelFromItsDescriptionUnlessTheServerSetsOne) {
    KitFolder kit;
    describeChannel(kit, QJsonObject{{"medium", "TP/FT-10"}, {"transactionsPerSecond", 200}});
    OpenDemo site(kit.path(), QStringLiteral("New Site"));
    EXPECT_GE(twentyTests(site), 95); // 5 ms a slot
    site.server.setChannelCapacity(0);
    EXPECT_LT(twentyTests(site), 95);
    site.server.setChannelCapacity(100);
    EXPECT_GE(twentyTests(site), 190);

    // A medium the simulation knows brings its own figure: IP carries 20
    // tests in a millisecond.
    KitFolder ip;
    describeChannel(ip, QJsonObject{{"medium", "IP-852"}});
    EXPECT_LT(twentyTests(OpenDemo(ip.path(), QStringLiteral("New Site"))), 95);
}
