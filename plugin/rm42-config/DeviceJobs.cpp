// SPDX-License-Identifier: Apache-2.0
#include "DeviceJobs.h"

#include "CommandLine.h"

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
    m_inFlight = DevicesInFlight(m_jobs, MostJobs);
    m_busy = 0;
    m_mostInFlight = 0;
    m_threadsExhausted = false;
    m_started = std::chrono::steady_clock::now();
    // However the run ends, no device is started after it and those in
    // flight are waited for (the workers are joined as they go).
    struct Stop {
        DeviceJobs& jobs;
        ~Stop() {
            {
                const std::lock_guard lock(jobs.m_mutex);
                jobs.m_stopped = true;
            }
            jobs.m_changed.notify_all();
            jobs.m_workers.clear();
        }
    } stop{*this};
    addWorkers(workersWanted());
    finishInOrder();
}

double DeviceJobs::secondsSinceStart() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
}

size_t DeviceJobs::workersWanted() const {
    if (m_threadsExhausted || m_next >= m_targets->size())
        return m_workers.size();
    return std::max(m_workers.size(),
                    std::min(m_targets->size(), static_cast<size_t>(m_inFlight.goal())));
}

void DeviceJobs::addWorkers(size_t wanted) {
    try {
        while (m_workers.size() < wanted) {
            const size_t worker = m_workers.size();
            if (worker == 0) {
                m_workers.emplace_back([this] { this->work(0, m_network, false); });
                continue;
            }
            m_workers.emplace_back([this, worker] {
                std::unique_ptr<ThermostatNetwork> own;
                try {
                    own = m_network.openedAgain();
                } catch (...) {
                    return; // the other workers take its share
                }
                this->work(worker, *own, true);
            });
        }
    } catch (const std::system_error&) {
        // No more threads to be had: fewer devices are in flight.
        m_threadsExhausted = true;
    }
}

void DeviceJobs::work(size_t worker, const ThermostatNetwork& network, bool foundElsewhere) {
    while (const std::optional<size_t> position = nextPosition(worker)) {
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

// A worker numbered at or above the number wanted in flight leaves; the
// number only falls once it has settled, so no worker is wanted back.
std::optional<size_t> DeviceJobs::nextPosition(size_t worker) {
    const std::lock_guard lock(m_mutex);
    if (m_stopped || m_next >= m_targets->size() ||
        worker >= static_cast<size_t>(m_inFlight.goal()))
        return std::nullopt;
    ++m_busy;
    m_mostInFlight = std::max(m_mostInFlight, m_busy);
    m_inFlight.started(m_busy, secondsSinceStart());
    return m_next++;
}

void DeviceJobs::done(size_t position, Finish finish) {
    {
        const std::lock_guard lock(m_mutex);
        m_finishes[position] = std::move(finish);
        ++m_doneCount;
        --m_busy;
        m_inFlight.finished(secondsSinceStart());
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
        if (const size_t wanted = workersWanted(); wanted > m_workers.size()) {
            lock.unlock();
            addWorkers(wanted);
            lock.lock();
        } else if (m_finishes[position]) {
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
