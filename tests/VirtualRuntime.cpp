// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "VirtualRuntime.h"

#include <QCoreApplication>
#include <algorithm>

namespace vantoke {

double VirtualRuntime::clock()
{
    const double reading = m_now;
    m_now += m_step;
    return reading;
}

void VirtualRuntime::seed()
{
    ++m_seedCount;
}

float VirtualRuntime::random()
{
    if (m_randoms.isEmpty())
        return 0.0f;
    const float value = m_randoms.at(m_nextRandom);
    m_nextRandom = (m_nextRandom + 1) % m_randoms.size();
    return value;
}

void VirtualRuntime::setRandoms(QList<float> values)
{
    m_randoms = std::move(values);
    m_nextRandom = 0;
}

void VirtualRuntime::at(double time, Action action, bool userInput)
{
    const auto later = std::upper_bound(
        m_script.begin(), m_script.end(), time, [](double t, const Scripted &scripted) { return t < scripted.time; });
    m_script.insert(later, Scripted{time, std::move(action), userInput});
}

void VirtualRuntime::pumpEvents(double deadline)
{
    pumpQt(true);
    if (runDue(true))
        return;
    const double next = m_script.isEmpty() ? deadline : std::min(m_script.first().time, deadline);
    if (next > m_now) {
        m_now = next;
        if (m_waitLog)
            m_waitLog->append(QStringLiteral("wait %1").arg(m_now));
    }
    runDue(true);
}

void VirtualRuntime::pumpSystemEvents()
{
    m_systemPumps.append(m_now);
    pumpQt(false);
    runDue(false);
}

bool VirtualRuntime::runDue(bool includeUserInput)
{
    bool ran = false;
    for (;;) {
        // An action may pump again, nested, and change the script, so look it up afresh each time.
        const auto due = std::find_if(m_script.begin(), m_script.end(), [&](const Scripted &scripted) {
            return scripted.time <= m_now && (includeUserInput || !scripted.userInput);
        });
        if (due == m_script.end())
            return ran;
        const Action action = due->action;
        m_script.erase(due);
        action();
        ran = true;
    }
}

void VirtualRuntime::pumpQt(bool includeUserInput)
{
    if (m_pumpsQt)
        QCoreApplication::processEvents(includeUserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

} // namespace vantoke
