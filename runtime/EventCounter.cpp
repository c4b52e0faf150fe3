// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "EventCounter.h"

#include <QCoreApplication>

namespace vantoke {

EventCounter::EventCounter()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool EventCounter::eventFilter(QObject *, QEvent *)
{
    ++m_count;
    return false;
}

} // namespace vantoke
