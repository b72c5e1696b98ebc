// SPDX-License-Identifier: Apache-2.0
#include "DeviceJobs.h"

#include <exception>
#include <system_error>
#include <thread>

void DeviceJob::inTurn(const std::function<void()>& step) const {
    jobs.inTurn(position, step);
}

DeviceJobs::DeviceJobs(const ThermostatNetwork& network, int jobs, ProgressBar& progress)
    : m_network(network), m_jobs(jobs), m_progress(progress) {}

void DeviceJobs::run(const std::vector<DeviceTarget>& targets, const Work& work) {
    m_targets = &targets;
    m_work = &work;
    m_next = 0;
    m_doneCount = 0;
    m_stopped = false;
    m_finishes.assign(targets.size(), std::nullopt);
    m_passed.assign(targets.size(), false);
    m_firstNotPassed = 0;
    std::vector<std::jthread> workers;
    // However the run ends, no device is started after it and those in
    // flight are waited for (the workers are joined as they go).
    struct Stop {
        DeviceJobs& jobs;
        std::vector<std::jthread>& workers;
        ~Stop() {
            {
                const std::lock_guard lock(jobs.m_mutex);
                jobs.m_stopped = true;
            }
            workers.clear();
        }
    } stop{*this, workers};
    const size_t count = std::min(targets.size(), static_cast<size_t>(m_jobs));
    if (count > 0)
        workers.emplace_back([this] { this->work(m_network, false); });
    try {
        for (size_t n = 1; n < count; ++n) {
            workers.emplace_back([this] {
                std::unique_ptr<ThermostatNetwork> own;
                try {
                    own = m_network.openedAgain();
                } catch (...) {
                    return; // the other workers take its share
                }
                this->work(*own, true);
            });
        }
    } catch (const std::system_error&) {
        // No more threads to be had: fewer devices are in flight.
    }
    finishInOrder();
}

void DeviceJobs::work(const ThermostatNetwork& network, bool foundElsewhere) {
    while (const std::optional<size_t> position = nextPosition()) {
        const DeviceTarget& target = (*m_targets)[*position];
        Finish finish;
        try {
            finish = (*m_work)({*position, foundElsewhere ? network.sameDeviceAs(target) : target,
                                network, *this});
        } catch (...) {
            finish = [failure = std::current_exception()] { std::rethrow_exception(failure); };
        }
        done(*position, std::move(finish));
    }
}

std::optional<size_t> DeviceJobs::nextPosition() {
    const std::lock_guard lock(m_mutex);
    if (m_stopped || m_next >= m_targets->size())
        return std::nullopt;
    return m_next++;
}

void DeviceJobs::done(size_t position, Finish finish) {
    {
        const std::lock_guard lock(m_mutex);
        m_finishes[position] = std::move(finish);
        ++m_doneCount;
    }
    pass(position);
}

void DeviceJobs::inTurn(size_t position, const std::function<void()>& step) {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_firstNotPassed >= position; });
    }
    try {
        step();
    } catch (...) {
        pass(position);
        throw;
    }
    pass(position);
}

void DeviceJobs::pass(size_t position) {
    {
        const std::lock_guard lock(m_mutex);
        m_passed[position] = true;
        while (m_firstNotPassed < m_passed.size() && m_passed[m_firstNotPassed])
            ++m_firstNotPassed;
    }
    m_changed.notify_all();
}

// The progress bar counts the devices done and names the one the output
// waits for.
void DeviceJobs::finishInOrder() {
    std::unique_lock lock(m_mutex);
    std::optional<size_t> shownDone;
    for (size_t position = 0; position < m_finishes.size();) {
        if (m_finishes[position]) {
            const Finish finish = std::move(*m_finishes[position]);
            m_finishes[position].reset();
            lock.unlock();
            m_progress.clear();
            if (finish)
                finish();
            lock.lock();
            ++position;
        } else if (shownDone != m_doneCount) {
            shownDone = m_doneCount;
            lock.unlock();
            m_progress.show(static_cast<int>(*shownDone), (*m_targets)[position].path);
            lock.lock();
        } else {
            m_changed.wait(lock);
        }
    }
}
