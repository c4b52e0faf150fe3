// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Display.h"

#include <QString>

namespace vantoke {

// What the game does to the window. Changes reach the screen by the next pump of events at the
// latest; only refreshPercent() repaints at once.
class GameSurface
{
public:
    virtual ~GameSurface() = default;

    // `square` is 1 to 6: 1, 2, 3 the upper row from the left, 4, 5, 6 the lower row.
    // A hidden square takes no clicks.
    virtual void setSquareVisible(int square, bool visible) = 0;

    // Replaces the whole text of the box, locked or not.
    virtual void setDisplayText(Display display, const QString &text) = 0;

    // Stops the player typing into the box; nothing ever unlocks it.
    virtual void lockDisplay(Display display) = 0;

    virtual void refreshPercent() = 0;

    // The selected difficulty's text, or empty while none is selected.
    virtual QString difficultyText() = 0;
};

} // namespace vantoke
