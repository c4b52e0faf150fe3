// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

namespace vantoke {

// The services the game needs from its platform. Everything runs on the one window thread.
class RuntimeServices
{
public:
    virtual ~RuntimeServices() = default;

    // Seconds on a monotonic clock at full precision. It never goes back, never wraps and ignores
    // wall-clock changes; only differences of two readings mean anything.
    virtual double clock() = 0;

    // Seeds the random generator from the clock.
    virtual void seed() = 0;

    // The next uniformly distributed single, at least 0 and strictly below 1.
    virtual float random() = 0;

    // Handles every pending event, running handlers to completion (a handler may pump again,
    // nested). Only when nothing was pending does it sleep, until an event arrives or clock()
    // reaches `deadline`, whichever comes first. A deadline already past means no sleep.
    virtual void pumpEvents(double deadline) = 0;

    // Handles pending events that are not user input: repaints, window-system requests, a close
    // request. User input stays queued, in order, for a later pumpEvents() or the event loop.
    virtual void pumpSystemEvents() = 0;
};

} // namespace vantoke
