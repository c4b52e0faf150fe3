// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Square.h"

#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace vantoke {

Square::Square(int number, QWidget *parent)
    : QFrame(parent)
    , m_number(number)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // Tab reaches a shown square; a press does not take the focus, which the hit square would
    // at once hand on to the next control, repainting two controls for nothing.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Square %1").arg(number));
}

void Square::mousePressEvent(QMouseEvent *event)
{
    pressWith(event);
}

void Square::mouseDoubleClickEvent(QMouseEvent *event)
{
    pressWith(event);
}

void Square::pressWith(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    event->accept();
    Q_EMIT pressed(m_number);
}

void Square::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect().adjusted(2, 2, -2, -2);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

} // namespace vantoke
