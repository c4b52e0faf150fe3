// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <functional>
#include <utility>

namespace vantoke {

// An event filter that shows `seen` each event of the objects it is installed on, and passes
// every event on.
class EventWatch : public QObject
{
public:
    explicit EventWatch(std::function<void(QObject *, QEvent *)> seen)
        : m_seen(std::move(seen))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_seen(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> m_seen;
};

} // namespace vantoke
