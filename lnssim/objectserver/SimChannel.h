// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <cstdint>

namespace lns::sim {

// The channel a network's devices sit on. It carries a limited number of
// transactions a second, shared by every process and thread that talks to
// the network: each transaction takes the next free slot in a ledger they
// all share, waits for it, and is done its latency after the slot began (or
// at the slot's end, when that is later). The ledger is one number, the
// time at which the channel is next free, in a small file beside the
// network's database that every user maps into memory and advances with an
// atomic compare-and-swap; slots go out in the order they are asked for, so
// no process waits behind transactions asked for after its own.
class SimChannel {
public:
    // Without a ledger file that can be mapped (a folder this process may
    // only read), the process keeps one of its own.
    explicit SimChannel(const QString& ledgerFile);
    ~SimChannel();
    SimChannel(const SimChannel&) = delete;
    SimChannel& operator=(const SimChannel&) = delete;

    // Returns when the transaction is done. `transactionsPerSecond` 0: a
    // channel without limit, where the latency alone counts.
    void carry(double transactionsPerSecond, int latencyMs);

    // When a transaction asked for at `nowNs`, with the channel next free at
    // `nextFreeNs`, begins and ends, and when the channel is free again after
    // it; nanoseconds since the epoch.
    struct Slot {
        std::int64_t begins;
        std::int64_t ends;
        std::int64_t frees;
    };
    static Slot slotFor(std::int64_t nowNs, std::int64_t nextFreeNs, double transactionsPerSecond,
                        int latencyMs);

private:
    std::int64_t* m_nextFree = nullptr;
    void* m_mapping = nullptr;
};

} // namespace lns::sim
