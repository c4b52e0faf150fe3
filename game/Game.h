// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "GameState.h"

#include <QString>
#include <span>

namespace vantoke {

class GameSurface;
class RuntimeServices;

// One game with its handlers. It reaches the window only through GameSurface, and is reached
// only through its handlers, which the window's events call. Both services must outlive it.
class Game
{
public:
    // Games nested inside a pause go no deeper than this; a Start at this depth does nothing.
    static constexpr int kMaxDepth = 64;

    Game(RuntimeServices &runtime, GameSurface &surface);

    // Window load: seeds the generator and hides the six squares.
    void formLoad();
    // Start: plays one whole game and returns only when it is over. During a pause any handler,
    // this one included, may run nested inside it.
    void cmdStartClick();
    // A click on lit square `square` (1 to 6) scores a hit and hides it.
    void pctClick(int square);
    // A choice in the difficulty list writes "0" into the four boxes.
    void lst1Click();

    // The paced wait: returns once at least `duration` seconds have passed on the clock, or at
    // once when the game is stopped, handling events meanwhile.
    void timeOut(double duration);

    // Ends the running game and every game nested in it at their next step, without writing
    // anything more; from then on no handler does anything. For a window that is closing.
    void stop();

    const GameState &state() const { return m_state; }
    int depth() const { return m_depth; }
    bool isStopped() const { return m_stopped; }

private:
    struct Pace
    {
        QStringView difficulty;
        double pause;
    };
    static const Pace kPaces[3];

    void runGame();
    // Pauses for the first of `paces` whose difficulty is selected; false when none is.
    bool pauseForFirstMatch(std::span<const Pace> paces);
    // A closing step: its pause, then the displays frozen. False when the game was stopped.
    bool closeTurn(std::span<const Pace> paces);
    void keepWindowServiced(double now);
    void hideSquares();
    void freezeDisplays();
    void showRatio();

    RuntimeServices &m_runtime;
    GameSurface &m_surface;
    GameState m_state;
    int m_depth = 0;
    bool m_stopped = false;
    double m_lastService = 0.0;
};

} // namespace vantoke
