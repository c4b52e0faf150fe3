#include "QtRuntime.h"

#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vantoke {

namespace {

// Waking from a sleep takes 0.1 ms or more, so the sleep ends this long before the deadline and
// the rest is spent pumping, which costs a fraction of a millisecond of CPU per pause.
constexpr double kSpinStretch = 250e-6;

std::int64_t monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

QtRuntime::QtRuntime()
    : m_origin(monotonicNanoseconds())
    , m_wakeFd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
{
}

QtRuntime::~QtRuntime()
{
    m_wakeNotifier.reset();
    if (m_wakeFd >= 0)
        close(m_wakeFd);
}

// CLOCK_MONOTONIC is steady and unaffected by changes to the wall clock; readings are kept as
// 64-bit nanoseconds from construction, so they stay that fine however long the program runs.
double QtRuntime::clock()
{
    return static_cast<double>(monotonicNanoseconds() - m_origin) * 1e-9;
}

void QtRuntime::seed()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const std::int64_t steady = monotonicNanoseconds();
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
    return unitFromRaw(m_generator());
}

float QtRuntime::unitFromRaw(std::uint32_t raw)
{
    // The top 24 bits fill a single's mantissa exactly; the largest result is 1 - 2^-24. The
    // standard float distributions can round up to exactly 1.0f, which would make square 7.
    return static_cast<float>(raw >> 8) * 0x1p-24f;
}

void QtRuntime::pumpEvents(double deadline)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Without a timerfd (the kernel refused one) nothing would wake the sleep: spin instead.
    if (m_wakeFd < 0 || deadline - clock() <= kSpinStretch)
        return;
    // processEvents() with a time limit does not sleep, and Qt's timers only know whole
    // milliseconds. A timerfd wakes the event loop to the microsecond, and any event before it
    // wakes the loop sooner.
    armWake(deadline - kSpinStretch);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtRuntime::armWake(double deadline)
{
    if (!m_wakeNotifier) {
        m_wakeNotifier = std::make_unique<QSocketNotifier>(m_wakeFd, QSocketNotifier::Read);
        QObject::connect(m_wakeNotifier.get(), &QSocketNotifier::activated, [this] {
            std::uint64_t expirations = 0;
            [[maybe_unused]] const ssize_t got = read(m_wakeFd, &expirations, sizeof expirations);
        });
    }
    // Nested pauses share the one timer: each pump arms it for its own deadline, and an outer
    // pause re-arms it when control comes back to it.
    const auto at = m_origin + static_cast<std::int64_t>(std::ceil(deadline * 1e9));
    itimerspec wake{};
    wake.it_value.tv_sec = static_cast<time_t>(at / 1'000'000'000);
    wake.it_value.tv_nsec = static_cast<long>(at % 1'000'000'000);
    timerfd_settime(m_wakeFd, TFD_TIMER_ABSTIME, &wake, nullptr);
}

void QtRuntime::pumpSystemEvents()
{
    InputHold &hold = inputHold();
    hold.setHolding(true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    hold.setHolding(false);
}

InputHold &QtRuntime::inputHold()
{
    if (!m_inputHold)
        m_inputHold = std::make_unique<InputHold>();
    return *m_inputHold;
}

} // namespace vantoke
