// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "InputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace vantoke {

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

InputHold::InputHold()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool InputHold::eventFilter(QObject *receiver, QEvent *event)
{
    // Input enters through its window; what the window passes on to a widget is already past
    // this point, and so is the event being delivered from the hold.
    if (event == m_releasing || !receiver->isWindowType() || !isUserInput(event->type()))
        return false;
    if (!m_holding && m_held.empty())
        return false;
    m_held.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    armRelease();
    return true;
}

void InputHold::armRelease()
{
    if (m_releaseArmed)
        return;
    m_releaseArmed = true;
    QTimer::singleShot(0, this, &InputHold::releaseNext);
}

void InputHold::releaseNext()
{
    m_releaseArmed = false;
    if (m_held.empty())
        return;
    if (!m_holding) {
        Held next = std::move(m_held.front());
        m_held.erase(m_held.begin());
        if (next.receiver) {
            // The handler may run a whole game, pumping events; later input keeps waiting.
            const QEvent *outer = std::exchange(m_releasing, next.event.get());
            QCoreApplication::sendEvent(next.receiver, next.event.get());
            m_releasing = outer;
        }
    }
    if (!m_held.empty())
        armRelease();
}

} // namespace vantoke
