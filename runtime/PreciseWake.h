// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <memory>

namespace vantoke {

// Wakes the thread's Qt event loop at a set moment, to a fraction of a millisecond: Qt's own
// timers only know whole milliseconds. One file per platform provides it: a timerfd on Linux, a
// high-resolution waitable timer on Windows. Needs a QCoreApplication; one thread only.
class PreciseWake final
{
public:
    PreciseWake();
    ~PreciseWake();
    PreciseWake(const PreciseWake &) = delete;
    PreciseWake &operator=(const PreciseWake &) = delete;

    // False when the system refused the timer; the caller must then wake itself.
    bool isValid() const;

    // From now on, an event loop waiting for events wakes at `at` at the latest. Arming again
    // replaces the moment.
    void arm(std::chrono::steady_clock::time_point at);

private:
    struct Platform;
    std::unique_ptr<Platform> m_platform;
};

} // namespace vantoke
