// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "QtRuntime.h"

#include "PreciseWake.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

namespace vantoke {

namespace {

// Waking from a sleep takes 0.1 ms or more, so the sleep ends this long before the deadline and
// the rest is spent pumping, which costs a fraction of a millisecond of CPU per pause.
constexpr double kSpinStretch = 250e-6;

} // namespace

QtRuntime::QtRuntime()
    : m_origin(std::chrono::steady_clock::now())
{
}

QtRuntime::~QtRuntime() = default;

// steady_clock is monotonic (CLOCK_MONOTONIC on Linux, the performance counter on Windows),
// unaffected by changes to the wall clock, and counts in nanoseconds from construction, so
// readings stay that fine however long the program runs.
double QtRuntime::clock()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_origin).count();
}

void QtRuntime::seed()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
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
    if (!m_wake) {
        m_wake = std::make_unique<PreciseWake>();
        m_delivered = std::make_unique<EventCounter>();
    }
    // What a handler did (a stop, a game nested in this pause) may end the caller's wait, so a
    // pump that handled something returns for the caller to look again before any sleep.
    const auto delivered = m_delivered->count();
    const bool dispatched = QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    if (dispatched || m_delivered->count() != delivered)
        return;
    // Without a precise wake (the system refused a timer) nothing would end the sleep: spin.
    if (!m_wake->isValid() || deadline - clock() <= kSpinStretch)
        return;
    // processEvents() with a time limit does not sleep, and Qt's timers only know whole
    // milliseconds. The wake comes to the microsecond, and any event before it wakes the loop
    // sooner. Nested pauses share it: each pump arms it for its own deadline, and an outer pause
    // re-arms it when control comes back to it.
    const auto wakeAt = m_origin
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(deadline - kSpinStretch));
    m_wake->arm(wakeAt);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
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
