#pragma once

#include "RuntimeServices.h"

#include <QElapsedTimer>
#include <cstdint>
#include <random>

namespace vantoke {

// RuntimeServices on Qt Core's event loop. Needs a QCoreApplication (or a subclass) to exist
// for the pumps; the clock and the generator work without one.
class QtRuntime final : public RuntimeServices
{
public:
    QtRuntime();

    double clock() override;
    void seed() override;
    float random() override;
    void pumpEvents(double deadline) override;
    void pumpSystemEvents() override;

    // Restarts the generator on a fixed sequence, so a run can be repeated.
    void seedWith(std::uint32_t value);

private:
    QElapsedTimer m_clock;
    std::mt19937 m_generator;
};

} // namespace vantoke
