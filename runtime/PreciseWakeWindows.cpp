// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
// PreciseWake on Windows: a waitable timer, high-resolution where the system has those (Windows
// 10 1803 and later), whose completion routine wakes the event loop.
#include "PreciseWake.h"

#include <QAbstractEventDispatcher>
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

namespace {

// Runs on the arming thread, in its next alertable wait: Qt's event dispatcher waits for messages
// alertably, so the routine runs inside that wait and a wake-up message ends it. Watching the
// timer with a QWinEventNotifier instead costs a hop through a pool thread, a millisecond and
// more under Wine. A routine queued for a moment since re-armed only ends one wait early.
void CALLBACK wakeEventLoop(void *, DWORD, DWORD)
{
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

} // namespace

struct PreciseWake::Platform
{
    HANDLE timer = nullptr;
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
}

PreciseWake::~PreciseWake()
{
    if (m_platform->timer) {
        CancelWaitableTimer(m_platform->timer);
        CloseHandle(m_platform->timer);
    }
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
    SetWaitableTimer(m_platform->timer, &due, 0, wakeEventLoop, nullptr, FALSE);
}

} // namespace vantoke
