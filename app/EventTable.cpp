// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "EventTable.h"

#include "Form1.h"

namespace vantoke {

namespace {

struct Route
{
    void (Form1::*event)();
    void (Game::*handler)();
};

const Route kRoutes[] = {
    {&Form1::loaded, &Game::formLoad},
    {&Form1::startClicked, &Game::cmdStartClick},
    {&Form1::difficultyClicked, &Game::lst1Click},
};

} // namespace

void connectEventTable(Form1 &form)
{
    Game &game = form.game();
    for (const Route &route : kRoutes)
        QObject::connect(&form, route.event, &form, [&game, handler = route.handler] { (game.*handler)(); });
    QObject::connect(&form, &Form1::squareClicked, &form, [&game](int square) { game.pctClick(square); });
}

} // namespace vantoke
