// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "GameSurface.h"

#include <QStringList>
#include <array>

namespace vantoke {

// A GameSurface that logs every operation, in order, and keeps the state they leave.
// Log entries: "show 3", "hide 3", "Points=17", "lock Time", "refresh", "difficulty".
class RecordingSurface final : public GameSurface
{
public:
    void setSquareVisible(int square, bool visible) override;
    void setDisplayText(Display display, const QString &text) override;
    void lockDisplay(Display display) override;
    void refreshPercent() override;
    QString difficultyText() override;

    static QString name(Display display);

    QStringList log;
    QString difficulty;
    std::array<bool, 6> visible{};
    std::array<QString, 4> texts; // indexed by Display
    std::array<bool, 4> locked{};

    const QString &text(Display display) const { return texts.at(static_cast<std::size_t>(display)); }
    // The lit square, or 0 when none is shown.
    int litSquare() const;
};

} // namespace vantoke
