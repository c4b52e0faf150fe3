// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointF>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class QWidget;

namespace vantoke {

// Presses each lit square of `window` (pct1 to pct6) with the left button from a thread of its
// own, at a random moment of its pause, and releases it: through Qt's window-system queue, which
// delivers them to the window as the display server's input, with the focus changes a press
// brings. Times how long from the press until the square hides. Read the results once stopped.
class Presser : public QObject
{
public:
    // Each square lit, 1 to 6, and in monotonicSeconds(): when it showed, when it was pressed (0 if
    // not) and when it hid.
    struct Turn
    {
        int square = 0;
        double shown = 0.0;
        double pressed = 0.0;
        double hidden = 0.0;
    };

    explicit Presser(QWidget &window);
    ~Presser() override;
    void stop();

    const std::vector<Turn> &turns() const { return m_turns; }
    // From each press until the pressed square hid, in seconds.
    const std::vector<double> &latencies() const { return m_latencies; }
    // The presser's own CPU time, which is the benchmark's and not the game's.
    double ownCpu() const { return m_ownCpu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void run();

    QWidget &m_window;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Turn> m_turns;
    std::vector<double> m_latencies;
    QWidget *m_lit = nullptr;
    std::size_t m_litTurn = 0;
    QPointF m_litAt; // where it shows, in the window
    int m_timestamp = 0;
    QWidget *m_pressed = nullptr;
    double m_pressedAt = 0.0;
    bool m_quit = false;
    double m_ownCpu = 0.0;
    std::thread m_thread;
};

} // namespace vantoke
