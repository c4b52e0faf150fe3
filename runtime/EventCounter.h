// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <cstdint>

namespace vantoke {

// Counts the events this thread's objects receive. A dispatcher's processEvents() does not
// always say whether it delivered anything: Qt's Windows dispatcher sends the posted events
// (timers, notifiers, events from other threads) before its own pass and does not count them.
class EventCounter final : public QObject
{
public:
    // Watches the application's events from now on; needs a QCoreApplication.
    EventCounter();

    std::uint64_t count() const { return m_count; }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    std::uint64_t m_count = 0;
};

} // namespace vantoke
