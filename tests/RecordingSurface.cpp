// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "RecordingSurface.h"

namespace vantoke {

void RecordingSurface::setSquareVisible(int square, bool shown)
{
    visible.at(static_cast<std::size_t>(square - 1)) = shown;
    log.append(QStringLiteral("%1 %2").arg(shown ? QStringLiteral("show") : QStringLiteral("hide")).arg(square));
}

void RecordingSurface::setDisplayText(Display display, const QString &text)
{
    texts.at(static_cast<std::size_t>(display)) = text;
    log.append(name(display) + QLatin1Char('=') + text);
}

void RecordingSurface::lockDisplay(Display display)
{
    locked.at(static_cast<std::size_t>(display)) = true;
    log.append(QStringLiteral("lock ") + name(display));
}

void RecordingSurface::refreshPercent()
{
    log.append(QStringLiteral("refresh"));
}

QString RecordingSurface::difficultyText()
{
    log.append(QStringLiteral("difficulty"));
    return difficulty;
}

QString RecordingSurface::name(Display display)
{
    static const QString names[]
        = {QStringLiteral("Points"), QStringLiteral("Time"), QStringLiteral("Squares"), QStringLiteral("Percent")};
    return names[static_cast<int>(display)];
}

int RecordingSurface::litSquare() const
{
    for (std::size_t index = 0; index < visible.size(); ++index) {
        if (visible[index])
            return static_cast<int>(index) + 1;
    }
    return 0;
}

} // namespace vantoke
