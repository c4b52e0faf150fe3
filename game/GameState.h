// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace vantoke {

// The counters and times of the current game, shared by the game loop and the click handlers.
// Nothing reads them before the first game starts.
struct GameState
{
    double startTime = 0.0; // clock reading when Start was pressed, at full precision
    float elapsedTime = 0.0f; // clock minus startTime, sampled once per turn before its pause
    std::int32_t points = 0; // squares hit in the current game
    std::int32_t squares = 0; // turns counted in the current game
    double hitRatio = 0.0; // points / squares
};

} // namespace vantoke
