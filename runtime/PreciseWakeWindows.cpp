// PreciseWake on Windows: a waitable timer, high-resolution where the system has those (Windows
// 10 1803 and later), watched by the event loop.
#include "PreciseWake.h"

#include <QWinEventNotifier>
#include <algorithm>

// windows.h would otherwise define min and max as macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vantoke {

struct PreciseWake::Platform
{
    HANDLE timer = nullptr;
    std::unique_ptr<QWinEventNotifier> notifier;
};

PreciseWake::PreciseWake()
    : m_platform(std::make_unique<Platform>())
{
    // An ordinary waitable timer keeps to the system's timer tick, up to 15.6 ms late; a
    // high-resolution one does not. Older systems refuse the flag.
    m_platform->timer
        = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!m_platform->timer)
        m_platform->timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    if (!m_platform->timer)
        return;
    // The notifier's wait on the timer posts the event that wakes the event loop, then waits
    // again; the timer resets itself on each wait it ends.
    m_platform->notifier = std::make_unique<QWinEventNotifier>(m_platform->timer);
}

PreciseWake::~PreciseWake()
{
    m_platform->notifier.reset();
    if (m_platform->timer)
        CloseHandle(m_platform->timer);
}

bool PreciseWake::isValid() const
{
    return m_platform->timer != nullptr;
}

void PreciseWake::arm(std::chrono::steady_clock::time_point at)
{
    // Due times count in 100 ns; a negative one is relative to now, which suits a clock whose
    // epoch is not the timer's.
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(at - std::chrono::steady_clock::now());
    LARGE_INTEGER due;
    due.QuadPart = -std::max<LONGLONG>(1, left.count() / 100);
    SetWaitableTimer(m_platform->timer, &due, 0, nullptr, nullptr, FALSE);
}

} // namespace vantoke
