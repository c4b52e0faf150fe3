// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "FloorWindow.h"

#include <QPainter>

namespace vantoke {

FloorWindow::FloorWindow(QSize size, QRect square)
    : m_square(square)
{
    resize(size);
}

void FloorWindow::toggle()
{
    m_lit = !m_lit;
    update(m_square);
}

void FloorWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(m_square, m_lit ? QColor(Qt::red) : palette().window().color());
}

} // namespace vantoke
