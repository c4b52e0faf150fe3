// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace vantoke {

// Qt's own floor for the frames the game asks for: a window of the game's size with nothing in
// it, whose toggle() lights or darkens one square's area.
class FloorWindow : public QWidget
{
public:
    FloorWindow(QSize size, QRect square);
    void toggle();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect m_square;
    bool m_lit = false;
};

} // namespace vantoke
