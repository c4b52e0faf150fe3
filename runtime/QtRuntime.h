// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "EventCounter.h"
#include "InputHold.h"
#include "RuntimeServices.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>

namespace vantoke {

class PreciseWake;

// RuntimeServices on Qt Core's event loop, for Linux and Windows. The pumps need a
// QCoreApplication (or a subclass); the clock and the generator work without one.
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
    InputHold &inputHold();

    std::chrono::steady_clock::time_point m_origin; // the clock's 0
    std::mt19937 m_generator;
    std::unique_ptr<PreciseWake> m_wake; // created at the first pump
    std::unique_ptr<EventCounter> m_delivered; // created at the first pump
    std::unique_ptr<InputHold> m_inputHold; // created at the first system pump
};

} // namespace vantoke
