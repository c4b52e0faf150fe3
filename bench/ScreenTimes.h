// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "FramebufferWatch.h"
#include "Presser.h"

#include <QString>
#include <optional>
#include <vector>

namespace vantoke {

// When a played game's lit squares reached the screen, in seconds, an entry for each square that
// did by each measure.
struct ScreenTimes
{
    std::vector<double> arrive; // from the show to the frame's arrival at the display server
    std::vector<double> present; // from the show to its presentation
    std::vector<double> hidden; // from a press to the presentation of the square hidden
    std::vector<double> litOff; // how far its time on screen differs from its time lit
    std::vector<double> intervals; // between presentations, where the server has a repaint cycle
    int lit = 0; // squares the game lit and hid
    int unseen = 0; // of those, never presented
};

// From weston's timeline (its "timeline" log scope, in CLOCK_MONOTONIC) at `path`. Nothing, with
// the reason on stderr, where it holds no frames of the game.
std::optional<ScreenTimes> screenTimesFromTimeline(const std::vector<Presser::Turn> &turns, const QString &path);

// From a FramebufferWatch of the six squares' centres, square 1 first. On Xvfb a frame is on the
// screen as soon as the server has it, so its arrival and its presentation are one moment.
ScreenTimes screenTimesFromFramebuffer(
    const std::vector<Presser::Turn> &turns, const std::vector<FramebufferWatch::Change> &changes);

} // namespace vantoke
