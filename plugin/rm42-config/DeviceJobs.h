// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ProgressBar.h"
#include "ThermostatNetwork.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
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
// channel, so a run takes about its longest share rather than the sum of
// every device's time. Each thread past the first opens the network for
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

    // `network` is the calling thread's, lent to the first worker.
    DeviceJobs(const ThermostatNetwork& network, int jobs, ProgressBar& progress);

    // Returns when every target is finished; a job's exception (other than
    // what it turns into output) comes out here in its device's turn, once
    // the devices in flight are done, and no further device is started.
    void run(const std::vector<DeviceTarget>& targets, const Work& work);

    void inTurn(size_t position, const std::function<void()>& step);

private:
    void work(const ThermostatNetwork& network, bool foundElsewhere);
    std::optional<size_t> nextPosition();
    void done(size_t position, Finish finish);
    void pass(size_t position);
    void finishInOrder();

    const ThermostatNetwork& m_network;
    int m_jobs;
    ProgressBar& m_progress;
    const std::vector<DeviceTarget>* m_targets = nullptr;
    const Work* m_work = nullptr;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_next = 0;
    size_t m_doneCount = 0;
    bool m_stopped = false;
    std::vector<std::optional<Finish>> m_finishes;
    std::vector<bool> m_passed;
    size_t m_firstNotPassed = 0;
};
