// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimChannel.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lns::sim {

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;
constexpr double NsPerSecond = 1e9;
// A ledger further ahead than this was left by a clock set back, not by
// transactions waiting: no channel queues a minute of them.
constexpr std::int64_t StaleAheadNs = 60'000 * NsPerMs;

static_assert(std::atomic_ref<std::int64_t>::is_always_lock_free,
              "the ledger is shared between processes without a lock");

std::int64_t nowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void sleepUntil(std::int64_t ns) {
    const timespec until{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// The ledger of the process's channels that have no file of their own.
std::int64_t& processLedger() {
    alignas(8) static std::int64_t nextFree = 0;
    return nextFree;
}

} // namespace

SimChannel::SimChannel(const QString& ledgerFile) {
    const int fd = ::open(ledgerFile.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        struct stat info {};
        if (fstat(fd, &info) == 0 && (info.st_size >= static_cast<off_t>(sizeof(std::int64_t)) ||
                                      ftruncate(fd, sizeof(std::int64_t)) == 0)) {
            void* mapping =
                mmap(nullptr, sizeof(std::int64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (mapping != MAP_FAILED) {
                m_mapping = mapping;
                m_nextFree = static_cast<std::int64_t*>(mapping);
            }
        }
        ::close(fd);
    }
    if (!m_nextFree)
        m_nextFree = &processLedger();
}

SimChannel::~SimChannel() {
    if (m_mapping)
        munmap(m_mapping, sizeof(std::int64_t));
}

SimChannel::Slot SimChannel::slotFor(std::int64_t nowNs, std::int64_t nextFreeNs,
                                     double transactionsPerSecond, int latencyMs) {
    const std::int64_t latency = static_cast<std::int64_t>(latencyMs) * NsPerMs;
    if (transactionsPerSecond <= 0)
        return {nowNs, nowNs + latency, nextFreeNs};
    const auto length =
        static_cast<std::int64_t>(std::llround(NsPerSecond / transactionsPerSecond));
    const bool queued = nextFreeNs > nowNs && nextFreeNs - nowNs < StaleAheadNs;
    const std::int64_t begins = queued ? nextFreeNs : nowNs;
    return {begins, begins + std::max(latency, length), begins + length};
}

void SimChannel::carry(double transactionsPerSecond, int latencyMs) {
    if (transactionsPerSecond <= 0 && latencyMs <= 0)
        return;
    const std::int64_t now = nowNs();
    Slot slot = slotFor(now, 0, transactionsPerSecond, latencyMs);
    if (transactionsPerSecond > 0) {
        std::atomic_ref<std::int64_t> nextFree(*m_nextFree);
        std::int64_t seen = nextFree.load();
        do
            slot = slotFor(now, seen, transactionsPerSecond, latencyMs);
        while (!nextFree.compare_exchange_weak(seen, slot.frees));
    }
    sleepUntil(slot.ends);
}

} // namespace lns::sim
