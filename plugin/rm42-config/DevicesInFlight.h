// SPDX-License-Identifier: Apache-2.0
#pragma once

// How many devices a run keeps in flight: a fixed number, or as many as
// fill the network's channel and no more. Fitted, it starts with one device
// and doubles the number while the devices finished per second rise by more
// than a tenth from one level to the next; then the channel is full, and by
// Little's law it needs the highest rate seen times the time of one device
// on a free channel (the level's time per device at the best level below
// full) in flight; the run keeps that many and a tenth more, never more than
// the last level tried.
class DevicesInFlight {
public:
    // 0: fitted to the channel, at most `most`.
    DevicesInFlight(int jobs, int most);

    int goal() const { return m_goal; }
    bool fitted() const { return m_fitted; }
    bool settled() const { return m_settled; }

    // A device was started, `seconds` after the run began, with `inFlight`
    // devices in flight now. A level is measured from when it is full, so
    // that the time new workers take to open the network does not count.
    void started(int inFlight, double seconds);
    // A device was finished `seconds` after the run began.
    void finished(double seconds);

private:
    void settle();

    bool m_fitted;
    int m_most;
    int m_goal;
    bool m_settled;
    bool m_levelFull = false;
    double m_levelStart = 0;
    int m_levelDone = 0;
    double m_bestRate = 0;      // devices a second
    double m_bestPerDevice = 0; // devices a second for each device in flight
};
