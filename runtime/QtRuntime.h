#pragma once

#include "InputHold.h"
#include "RuntimeServices.h"

#include <QSocketNotifier>
#include <cstdint>
#include <memory>
#include <random>

namespace vantoke {

// RuntimeServices on Linux and Qt Core's event loop. The pumps need a QCoreApplication (or a
// subclass); the clock and the generator work without one.
class QtRuntime final : public RuntimeServices
{
public:
    QtRuntime();
    ~QtRuntime() override;
    QtRuntime(const QtRuntime &) = delete;
    QtRuntime &operator=(const QtRuntime &) = delete;

    double clock() override;
    void seed() override;
    float random() override;
    void pumpEvents(double deadline) override;
    void pumpSystemEvents() override;

    // Restarts the generator on a fixed sequence, so a run can be repeated.
    void seedWith(std::uint32_t value);

    // How random() turns one raw 32-bit draw into a single: 0 gives 0, and the largest draw
    // gives the largest single below 1.
    static float unitFromRaw(std::uint32_t raw);

private:
    void armWake(double deadline);
    InputHold &inputHold();

    std::int64_t m_origin; // CLOCK_MONOTONIC nanoseconds at construction
    std::mt19937 m_generator;
    int m_wakeFd; // a timerfd: readable once the armed deadline has come
    std::unique_ptr<QSocketNotifier> m_wakeNotifier; // created at the first pump
    std::unique_ptr<InputHold> m_inputHold; // created at the first system pump
};

} // namespace vantoke
