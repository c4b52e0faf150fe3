#include "QtRuntime.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>

namespace vantoke {

namespace {

// Qt timers fire on whole milliseconds and may wake up to a millisecond late, so the sleep in
// the event loop ends this long before the deadline and the rest is covered by short sleeps.
constexpr double kPreciseStretch = 0.002;
// Longest sleep outside the event loop: a bound on how long an event may wait at the very end
// of a pause, and on how far a pause overruns.
constexpr double kFineSleep = 0.0002;

} // namespace

QtRuntime::QtRuntime()
{
    // QElapsedTimer reads CLOCK_MONOTONIC in nanoseconds: steady, and as fine after days as at
    // start-up because the reading is kept as a 64-bit integer until it becomes a difference.
    m_clock.start();
}

double QtRuntime::clock()
{
    return static_cast<double>(m_clock.nsecsElapsed()) * 1e-9;
}

void QtRuntime::seed()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = m_clock.nsecsElapsed() ^ m_clock.msecsSinceReference();
    std::seed_seq sequence{static_cast<std::uint32_t>(wall), static_cast<std::uint32_t>(wall >> 32),
        static_cast<std::uint32_t>(steady), static_cast<std::uint32_t>(steady >> 32)};
    m_generator.seed(sequence);
}

void QtRuntime::seedWith(std::uint32_t value)
{
    m_generator.seed(value);
}

float QtRuntime::random()
{
    // 24 random bits fill a single's mantissa exactly; the largest result is 1 - 2^-24. The
    // standard float distributions can round up to exactly 1.0f, which would make square 7.
    return static_cast<float>(m_generator() >> 8) * 0x1p-24f;
}

void QtRuntime::pumpEvents(double deadline)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    double remaining = deadline - clock();
    if (remaining > kPreciseStretch) {
        // processEvents() with a time limit does not sleep; WaitForMoreEvents does, until some
        // event comes, so a timer is armed to be that event if the player does nothing.
        QTimer wake;
        wake.setTimerType(Qt::PreciseTimer);
        wake.setSingleShot(true);
        wake.start(static_cast<int>(std::floor((remaining - kPreciseStretch) * 1000.0)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return;
    }
    if (remaining > 0.0) {
        const double nap = remaining < kFineSleep ? remaining : kFineSleep;
        std::this_thread::sleep_for(std::chrono::duration<double>(nap));
    }
}

void QtRuntime::pumpSystemEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vantoke
