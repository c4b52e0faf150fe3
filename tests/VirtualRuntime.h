// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "RuntimeServices.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace vantoke {

// A runtime on a virtual clock, so whole games play in milliseconds and always the same way.
// The clock moves only when the test moves it, when a pump waits, or by a fixed step on every
// reading (for games with no pause). Scripted events run at set virtual times.
class VirtualRuntime final : public RuntimeServices
{
public:
    using Action = std::function<void()>;

    double clock() override;
    void seed() override;
    float random() override;
    void pumpEvents(double deadline) override;
    void pumpSystemEvents() override;

    // Runs `action` at virtual time `time`, or at the first pump after it. User input runs only
    // in pumpEvents(); anything else also runs in pumpSystemEvents().
    void at(double time, Action action, bool userInput = true);
    void setNow(double time) { m_now = time; }
    double now() const { return m_now; }
    void setStepPerReading(double seconds) { m_step = seconds; }
    // random() cycles through `values`; 0 gives square 1 every turn until this is called.
    void setRandoms(QList<float> values);
    // Each pump also handles Qt's pending events, for tests on real widgets.
    void setPumpsQt(bool pumpsQt) { m_pumpsQt = pumpsQt; }
    // Every wait, as "wait <time it ended>", goes to `log` (the surface's, so order shows).
    void setWaitLog(QStringList *log) { m_waitLog = log; }

    int seedCount() const { return m_seedCount; }
    int pendingCount() const { return static_cast<int>(m_script.size()); }
    // Virtual times at which pumpSystemEvents() ran.
    const QList<double> &systemPumpTimes() const { return m_systemPumps; }

private:
    struct Scripted
    {
        double time;
        Action action;
        bool userInput;
    };

    bool runDue(bool includeUserInput);
    void pumpQt(bool includeUserInput);

    double m_now = 0.0;
    double m_step = 0.0;
    QList<float> m_randoms;
    qsizetype m_nextRandom = 0;
    QList<Scripted> m_script; // kept in time order; equal times keep the order they were added
    QList<double> m_systemPumps;
    QStringList *m_waitLog = nullptr;
    int m_seedCount = 0;
    bool m_pumpsQt = false;
};

} // namespace vantoke
