// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "DevicesInFlight.h"
#include "ProgressBar.h"
#include "ThermostatNetwork.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class DeviceJobs;

// One device of a run, found in the network of the thread that works on it.
struct DeviceJob {
    size_t position;
    DeviceTarget target;
    const ThermostatNetwork& network;
    DeviceJobs& jobs;

    // Runs `step` once every earlier device is done or past its own step.
    void inTurn(const std::function<void()>& step) const;
};

// Works on several devices at once: their transactions overlap on the
// channel, so a run takes about the channel's time for them rather than the
// sum of every device's time. How many are in flight is fixed or fitted to
// the channel (DevicesInFlight); a worker thread takes a device while its
// number is below that. Each thread past the first opens the network for
// itself, since an Object Server and its objects serve one thread at a
// time; a thread whose network does not open takes no device. What a job
// leaves to finish (its output) runs on the calling thread in the order of
// the targets, as soon as every earlier device is finished, so a run prints
// and logs what it would one device at a time.
class DeviceJobs {
public:
    // What a job leaves for the calling thread.
    using Finish = std::function<void()>;
    using Work = std::function<Finish(const DeviceJob&)>;

    // `network` is the calling thread's, lent to the first worker; `jobs`
    // 0 fits the number in flight to the channel.
    DeviceJobs(const ThermostatNetwork& network, int jobs, ProgressBar& progress);

    // Returns when every target is finished; a job's exception (other than
    // what it turns into output) comes out here in its device's turn, once
    // the devices in flight are done, and no further device is started.
    void run(const std::vector<DeviceTarget>& targets, const Work& work);

    void inTurn(size_t position, const std::function<void()>& step);

    // The most devices that were in flight at once during the last run.
    int mostInFlight() const { return m_mostInFlight; }
    // How many the last run kept in flight in the end.
    int keptInFlight() const { return m_inFlight.goal(); }

private:
    // How many workers the number wanted in flight asks for while devices
    // wait; taken under the lock.
    size_t workersWanted() const;
    double secondsSinceStart() const;
    // Starts workers up to `wanted`, while threads are to be had.
    void addWorkers(size_t wanted);
    void work(size_t worker, const ThermostatNetwork& network, bool foundElsewhere);
    std::optional<size_t> nextPosition(size_t worker);
    void done(size_t position, Finish finish);
    void pass(size_t position);
    void finishInOrder();

    const ThermostatNetwork& m_network;
    int m_jobs;
    ProgressBar& m_progress;
    std::vector<std::jthread> m_workers;
    bool m_threadsExhausted = false;
    std::chrono::steady_clock::time_point m_started;
    const std::vector<DeviceTarget>* m_targets = nullptr;
    const Work* m_work = nullptr;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    DevicesInFlight m_inFlight{1, 1};
    size_t m_next = 0;
    size_t m_doneCount = 0;
    int m_busy = 0;
    int m_mostInFlight = 0;
    bool m_stopped = false;
    std::vector<std::optional<Finish>> m_finishes;
    std::vector<bool> m_passed;
    size_t m_firstNotPassed = 0;
};
