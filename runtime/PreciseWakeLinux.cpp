// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
// PreciseWake on Linux: a timerfd on the monotonic clock, which steady_clock reads too, watched
// by the event loop.
#include "PreciseWake.h"

#include <QSocketNotifier>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vantoke {

struct PreciseWake::Platform
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
};

PreciseWake::PreciseWake()
    : m_platform(std::make_unique<Platform>())
{
    static_assert(std::chrono::steady_clock::is_steady);
    m_platform->fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_platform->fd < 0)
        return;
    m_platform->notifier = std::make_unique<QSocketNotifier>(m_platform->fd, QSocketNotifier::Read);
    QObject::connect(m_platform->notifier.get(), &QSocketNotifier::activated, [fd = m_platform->fd] {
        std::uint64_t expirations = 0;
        [[maybe_unused]] const ssize_t got = read(fd, &expirations, sizeof expirations);
    });
}

PreciseWake::~PreciseWake()
{
    m_platform->notifier.reset();
    if (m_platform->fd >= 0)
        close(m_platform->fd);
}

bool PreciseWake::isValid() const
{
    return m_platform->fd >= 0;
}

void PreciseWake::arm(std::chrono::steady_clock::time_point at)
{
    // libstdc++'s steady_clock is CLOCK_MONOTONIC, so its time points are the timer's own.
    const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    itimerspec wake{};
    wake.it_value.tv_sec = static_cast<time_t>(since / 1'000'000'000);
    wake.it_value.tv_nsec = static_cast<long>(since % 1'000'000'000);
    // A zero time would disarm the timer instead.
    if (wake.it_value.tv_sec == 0 && wake.it_value.tv_nsec == 0)
        wake.it_value.tv_nsec = 1;
    timerfd_settime(m_platform->fd, TFD_TIMER_ABSTIME, &wake, nullptr);
}

} // namespace vantoke
