// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Game.h"

#include "GameSurface.h"
#include "RuntimeServices.h"
#include "TextForms.h"

namespace vantoke {

using TextForms::integerText;

namespace {

constexpr float kGameLength = 15.0f;
constexpr double kFirstClosing = 14.25;
constexpr double kSecondClosing = 14.5;
// A game with no difficulty never pauses; this often it still lets the window repaint and
// answer the window system, so the desktop never takes it for hung.
constexpr double kServiceInterval = 0.05;
constexpr int kSquareCount = 6;

int pickSquare(float random)
{
    // In single precision: random is below 1, so this is 1 to 6.
    return static_cast<int>(TextForms::integerPart(random * 6.0f + 1.0f));
}

} // namespace

// A turn's pause tests all three in this order; the first closing pause tests the first two, the
// second only the last (docs/design.md walks through a turn).
const Game::Pace Game::kPaces[3] = {{u"Medium", 0.75}, {u"Hard", 0.5}, {u"Insane", 0.25}};

Game::Game(RuntimeServices &runtime, GameSurface &surface)
    : m_runtime(runtime)
    , m_surface(surface)
{
}

void Game::formLoad()
{
    m_runtime.seed();
    hideSquares();
}

void Game::cmdStartClick()
{
    if (m_stopped || m_depth >= kMaxDepth)
        return;
    ++m_depth;
    runGame();
    --m_depth;
}

void Game::pctClick(int square)
{
    if (m_stopped)
        return;
    ++m_state.points;
    m_surface.setSquareVisible(square, false);
}

void Game::lst1Click()
{
    if (m_stopped)
        return;
    const QString zero = integerText(0);
    m_surface.setDisplayText(Display::Time, zero);
    m_surface.setDisplayText(Display::Squares, zero);
    m_surface.setDisplayText(Display::Percent, zero);
    m_surface.setDisplayText(Display::Points, zero);
}

void Game::timeOut(double duration)
{
    const double t0 = m_runtime.clock();
    const double deadline = t0 + duration;
    while (!m_stopped && static_cast<float>(m_runtime.clock() - t0) < duration)
        m_runtime.pumpEvents(deadline);
}

void Game::stop()
{
    m_stopped = true;
}

// The order of the surface operations below is what the player sees, and is kept exactly. Any
// pause may run other handlers, a nested game included, which share m_state with this one; a
// stop seen after a pause ends this game at once.
void Game::runGame()
{
    m_state.startTime = m_runtime.clock();
    m_state.points = 0;
    m_state.squares = 0;
    for (;;) {
        if (static_cast<float>(m_runtime.clock() - m_state.startTime) > kGameLength)
            break;
        m_surface.setDisplayText(Display::Points, integerText(m_state.points));
        m_surface.setDisplayText(Display::Squares, integerText(m_state.squares));
        const double now = m_runtime.clock();
        m_state.elapsedTime = static_cast<float>(now - m_state.startTime);
        hideSquares();
        const int pick = pickSquare(m_runtime.random());
        if (pick >= 1 && pick <= kSquareCount)
            m_surface.setSquareVisible(pick, true);

        if (!pauseForFirstMatch(kPaces))
            keepWindowServiced(now);
        if (m_stopped)
            return;
        m_surface.setDisplayText(Display::Squares, integerText(m_state.squares));
        m_surface.setDisplayText(Display::Time, TextForms::singleText(m_state.elapsedTime));
        ++m_state.squares;
        showRatio();

        // The second test reads the time afresh: a game nested in the first closing pause
        // leaves its own.
        if (m_state.elapsedTime >= kFirstClosing && !closeTurn(std::span(kPaces).first(2)))
            return;
        if (m_state.elapsedTime >= kSecondClosing && !closeTurn(std::span(kPaces).last(1)))
            return;
        showRatio();
        m_surface.lockDisplay(Display::Percent);
    }
    m_surface.setDisplayText(Display::Squares, integerText(m_state.squares));
    showRatio();
    m_surface.refreshPercent();
}

bool Game::closeTurn(std::span<const Pace> paces)
{
    pauseForFirstMatch(paces);
    if (m_stopped)
        return false;
    freezeDisplays();
    showRatio();
    m_surface.lockDisplay(Display::Percent);
    return true;
}

bool Game::pauseForFirstMatch(std::span<const Pace> paces)
{
    // Each test reads the list afresh: a choice made during a pause counts at the next test.
    for (const Pace &pace : paces) {
        if (m_surface.difficultyText() == pace.difficulty) {
            timeOut(pace.pause);
            return true;
        }
    }
    return false;
}

void Game::keepWindowServiced(double now)
{
    if (now - m_lastService < kServiceInterval)
        return;
    m_lastService = now;
    m_runtime.pumpSystemEvents();
}

void Game::hideSquares()
{
    for (int square = 1; square <= kSquareCount; ++square)
        m_surface.setSquareVisible(square, false);
}

void Game::freezeDisplays()
{
    hideSquares();
    m_surface.lockDisplay(Display::Points);
    m_surface.lockDisplay(Display::Squares);
    m_surface.lockDisplay(Display::Time);
}

void Game::showRatio()
{
    // Only a game whose very first test already ends it gets here with no squares: show 0%.
    m_state.hitRatio
        = m_state.squares == 0 ? 0.0 : static_cast<double>(m_state.points) / static_cast<double>(m_state.squares);
    m_surface.setDisplayText(Display::Percent, TextForms::percentText(m_state.hitRatio));
}

} // namespace vantoke
