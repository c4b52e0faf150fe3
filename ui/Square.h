// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

namespace vantoke {

// One of the six red squares: a sunken red panel that reports presses of the left button.
class Square final : public QFrame
{
    Q_OBJECT

public:
    // `number` is 1 to 6; it names the square to the player and to assistive technology.
    Square(int number, QWidget *parent);

Q_SIGNALS:
    // Sent on the press itself, for a double-click's second press too: every press is one hit.
    void pressed(int square);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void pressWith(QMouseEvent *event);

    int m_number;
};

} // namespace vantoke
