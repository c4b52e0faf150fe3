// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "FramebufferWatch.h"
#include "Readings.h"

#include <QtEndian>
#include <chrono>
#include <cstring>

namespace vantoke {

namespace {

// XWD's header: 25 big-endian 32-bit fields, then the window's name, then the colour map.
constexpr int kHeaderFields = 25;
enum Field { HeaderSize = 0, Width = 4, Height = 5, BitsPerPixel = 11, BytesPerLine = 12, ColourCount = 19 };
constexpr std::size_t kColourBytes = 12;

} // namespace

FramebufferWatch::FramebufferWatch(const QString &path, std::vector<QPoint> points)
    : m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly) || m_file.size() < kHeaderFields * 4) {
        m_error = QStringLiteral("cannot read the framebuffer in %1").arg(path);
        return;
    }
    m_map = m_file.map(0, m_file.size());
    if (!m_map) {
        m_error = QStringLiteral("cannot map %1: %2").arg(path, m_file.errorString());
        return;
    }
    const auto field = [this](Field index) { return qFromBigEndian<quint32>(m_map + 4 * index); };
    m_pixelBytes = field(BitsPerPixel) / 8;
    const std::size_t pixels = field(HeaderSize) + field(ColourCount) * kColourBytes;
    for (const QPoint &point : points) {
        const std::size_t offset = pixels + static_cast<std::size_t>(point.y()) * field(BytesPerLine)
            + static_cast<std::size_t>(point.x()) * m_pixelBytes;
        if (point.x() < 0 || point.y() < 0 || point.x() >= static_cast<int>(field(Width))
            || point.y() >= static_cast<int>(field(Height)) || offset + m_pixelBytes > std::size_t(m_file.size())
            || m_pixelBytes < 1 || m_pixelBytes > 4) {
            m_error = QStringLiteral("(%1, %2) is off the screen in %3").arg(point.x()).arg(point.y()).arg(path);
            return;
        }
        m_offsets.push_back(offset);
    }
    m_thread = std::thread([this] { run(); });
}

FramebufferWatch::~FramebufferWatch()
{
    stop();
}

void FramebufferWatch::stop()
{
    if (!m_thread.joinable())
        return;
    m_quit = true;
    m_thread.join();
}

void FramebufferWatch::run()
{
    // The server writes the map as the watch reads it: a torn read shows a colour that is neither
    // the old one nor the new, which counts as a change all the same.
    const auto pixel = [this](std::size_t offset) {
        quint32 value = 0;
        std::memcpy(&value, m_map + offset, m_pixelBytes);
        return value;
    };
    std::vector<quint32> start;
    std::vector<bool> changed(m_offsets.size(), false);
    for (std::size_t offset : m_offsets)
        start.push_back(pixel(offset));
    while (!m_quit) {
        const double now = monotonicSeconds();
        for (std::size_t point = 0; point < m_offsets.size(); ++point) {
            const bool differs = pixel(m_offsets[point]) != start[point];
            if (differs != changed[point]) {
                changed[point] = differs;
                m_changes.push_back({now, static_cast<int>(point), differs});
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    m_ownCpu = threadCpuSeconds();
}

} // namespace vantoke
