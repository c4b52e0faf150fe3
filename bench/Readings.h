// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

namespace vantoke {

// CLOCK_MONOTONIC on Linux, the clock of weston's timeline and of its "vblank_monotonic", even
// where weston's presentation clock is CLOCK_MONOTONIC_RAW: its first event comes 40 ms after
// weston starts by CLOCK_MONOTONIC, and the two clocks were 0.2 s apart.
double monotonicSeconds();

// CPU time of every thread of the process. On Linux, from the scheduler's nanosecond accounting:
// getrusage samples on clock ticks, far too coarsely for a process that mostly sleeps. On
// Windows, from the system's account of the process; elsewhere without /proc, from the
// process's own CPU clock.
double cpuSeconds();

// CPU time of the calling thread.
double threadCpuSeconds();

// Resident memory: the working set on Windows, VmRSS where there is /proc.
double residentMiB();

// Whether a GL driver is mapped into the process: Mesa's DRI drivers, or its EGL or GLX vendor
// library, which loads one.
bool glDriverLoaded();

} // namespace vantoke
