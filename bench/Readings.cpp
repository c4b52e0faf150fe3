// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Readings.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdint>
#include <ctime>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#endif

namespace vantoke {

namespace {

#ifdef Q_OS_WIN
double seconds(const FILETIME &kernel, const FILETIME &user)
{
    const auto ticks = [](const FILETIME &time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 100e-9;
}
#else
double seconds(clockid_t clock)
{
    timespec used{};
    clock_gettime(clock, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}
#endif

} // namespace

double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double cpuSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return seconds(kernel, user);
#else
    const QDir tasks(QStringLiteral("/proc/self/task"));
    if (!tasks.exists())
        return seconds(CLOCK_PROCESS_CPUTIME_ID);
    double total = 0.0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            total += schedstat.readAll().split(' ').first().toDouble() * 1e-9;
    }
    return total;
#endif
}

double threadCpuSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created{}, exited{}, kernel{}, user{};
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return seconds(kernel, user);
#else
    return seconds(CLOCK_THREAD_CPUTIME_ID);
#endif
}

double residentMiB()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
#else
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0.0;
#endif
}

bool glDriverLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = maps.readAll();
    return all.contains("_dri.so") || all.contains("libEGL_mesa") || all.contains("libGLX_mesa")
        || all.contains("libgallium");
}

} // namespace vantoke
