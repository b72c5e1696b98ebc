// SPDX-License-Identifier: Apache-2.0
#include "DevicesInFlight.h"

#include <algorithm>
#include <cmath>

namespace {

// A rise smaller than this is the noise of a full channel.
constexpr double Gain = 1.1;
// A level is measured over as many devices as it keeps in flight; its time
// is never taken for less than this (seconds), so a rate stays finite.
constexpr double ShortestLevel = 1e-6;

} // namespace

DevicesInFlight::DevicesInFlight(int jobs, int most)
    : m_fitted(jobs == 0), m_most(most), m_goal(jobs == 0 ? 1 : jobs), m_settled(jobs != 0) {}

void DevicesInFlight::started(int inFlight, double seconds) {
    if (m_settled || m_levelFull || inFlight < m_goal)
        return;
    m_levelFull = true;
    m_levelStart = seconds;
    m_levelDone = 0;
}

void DevicesInFlight::finished(double seconds) {
    if (m_settled || !m_levelFull)
        return;
    if (++m_levelDone < m_goal)
        return;
    const double rate = m_levelDone / std::max(seconds - m_levelStart, ShortestLevel);
    m_levelStart = seconds;
    m_levelDone = 0;
    m_bestPerDevice = std::max(m_bestPerDevice, rate / m_goal);
    if (rate <= m_bestRate * Gain) {
        m_bestRate = std::max(m_bestRate, rate);
        settle();
        return;
    }
    m_bestRate = rate;
    if (m_goal == m_most) {
        m_settled = true;
        return;
    }
    m_goal = std::min(m_goal * 2, m_most);
    m_levelFull = false;
}

// A tenth more than Little's law asks for covers the gaps a device leaves
// between its transactions while it works on its own.
void DevicesInFlight::settle() {
    m_settled = true;
    const int needed = static_cast<int>(std::ceil(m_bestRate / m_bestPerDevice * Gain));
    m_goal = std::clamp(needed, 1, m_goal);
}
