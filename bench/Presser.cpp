// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Presser.h"
#include "Readings.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <random>
#include <utility>

// QtGui's entry for Qt Test, declared as qtestmouse.h declares it (Qt 6.4 and 6.8 alike): hands
// the event to the window-system queue and returns once the window has handled it.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
    Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
QT_END_NAMESPACE

namespace vantoke {

Presser::Presser(QWidget &window)
    : m_window(window)
{
    for (int square = 1; square <= 6; ++square)
        m_window.findChild<QWidget *>(QStringLiteral("pct%1").arg(square))->installEventFilter(this);
    m_thread = std::thread([this] { run(); });
}

Presser::~Presser()
{
    stop();
}

void Presser::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool Presser::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = static_cast<QWidget *>(watched);
    std::lock_guard lock(m_mutex);
    if (event->type() == QEvent::Show) {
        m_turns.push_back({widget->objectName().mid(3).toInt(), monotonicSeconds()});
        m_litTurn = m_turns.size() - 1;
        m_lit = widget;
        m_litAt = widget->mapTo(&m_window, QPointF(widget->rect().center()));
        m_wake.notify_all();
    } else if (event->type() == QEvent::Hide) {
        if (!m_turns.empty() && m_turns.back().hidden == 0.0)
            m_turns.back().hidden = monotonicSeconds();
        if (widget == m_pressed) {
            m_latencies.push_back(monotonicSeconds() - m_pressedAt);
            m_pressed = nullptr;
        }
    }
    return false;
}

void Presser::run()
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> delay(0.02, 0.2);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_lit; });
        if (m_quit) {
            m_ownCpu = threadCpuSeconds();
            return;
        }
        QWidget *target = std::exchange(m_lit, nullptr);
        const std::size_t turn = m_litTurn;
        const QPointF at = m_litAt;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
        lock.lock();
        m_pressed = target;
        m_pressedAt = monotonicSeconds();
        if (m_turns.at(turn).hidden == 0.0)
            m_turns.at(turn).pressed = m_pressedAt;
        lock.unlock();
        QWindow *window = m_window.windowHandle();
        qt_handleMouseEvent(window, at, window->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
            QEvent::MouseButtonPress, Qt::NoModifier, ++m_timestamp);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        qt_handleMouseEvent(window, at, window->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
            QEvent::MouseButtonRelease, Qt::NoModifier, m_timestamp += 30);
        lock.lock();
    }
}

} // namespace vantoke
