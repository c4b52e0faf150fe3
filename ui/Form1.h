// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Game.h"
#include "GameSurface.h"

#include <QWidget>
#include <array>

class QLineEdit;

namespace vantoke {

class ChoiceList;
class CommandButton;
class RuntimeServices;
class Square;

// The game's one window: seventeen controls at fixed places, the GameSurface on them, and the
// game itself. Its events leave as signals; the application's event table routes them to the
// game's handlers. `runtime` must outlive the window.
class Form1 final : public QWidget, public GameSurface
{
    Q_OBJECT

public:
    explicit Form1(RuntimeServices &runtime, QWidget *parent = nullptr);

    Game &game() { return m_game; }

    // Sends loaded(); call once, before the window first shows.
    void load();

    void setSquareVisible(int square, bool visible) override;
    void setDisplayText(Display display, const QString &text) override;
    void lockDisplay(Display display) override;
    void refreshPercent() override;
    QString difficultyText() override;

Q_SIGNALS:
    void loaded();
    void startClicked();
    void difficultyClicked();
    // A press on lit square `square`, 1 to 6.
    void squareClicked(int square);

protected:
    // A close mid-game stops every running game, so the program can end.
    void closeEvent(QCloseEvent *event) override;
    // Tab and Shift+Tab move the focus through here.
    bool focusNextPrevChild(bool next) override;

private:
    void buildControls();

    Game m_game;
    std::array<Square *, 6> m_squares{};
    std::array<QLineEdit *, 4> m_displays{}; // indexed by Display
    CommandButton *m_start = nullptr;
    ChoiceList *m_difficulty = nullptr;
};

} // namespace vantoke
