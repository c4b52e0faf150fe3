// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QPoint>
#include <QString>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace vantoke {

// Watches pixels of an X screen that Xvfb maps to a file (its -fbdir), in XWD's format, where the
// server draws as it handles each request: one pixel a point, from a thread of its own every
// 0.1 ms, recording when each differs from, or returns to, its colour at the start. Read the
// changes once stopped.
class FramebufferWatch
{
public:
    struct Change
    {
        double at = 0.0; // monotonicSeconds()
        int point = 0; // index into the points given
        bool changed = false; // off its colour at the start
    };

    FramebufferWatch(const QString &path, std::vector<QPoint> points);
    ~FramebufferWatch();
    FramebufferWatch(const FramebufferWatch &) = delete;
    FramebufferWatch &operator=(const FramebufferWatch &) = delete;

    // Why the watch could not start, or empty once it runs.
    const QString &error() const { return m_error; }
    void stop();
    const std::vector<Change> &changes() const { return m_changes; }
    double ownCpu() const { return m_ownCpu; }

private:
    void run();

    QString m_error;
    QFile m_file;
    const uchar *m_map = nullptr; // the file mapped shared, as the server writes it
    std::vector<std::size_t> m_offsets; // of each point's pixel in the map
    std::size_t m_pixelBytes = 0;
    std::vector<Change> m_changes;
    std::atomic<bool> m_quit = false;
    double m_ownCpu = 0.0;
    std::thread m_thread;
};

} // namespace vantoke
