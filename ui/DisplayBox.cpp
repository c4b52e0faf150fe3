// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "DisplayBox.h"
#include "DisplayBoxAccessible.h"

#include <QAccessible>
#include <QFocusEvent>

namespace vantoke {

DisplayBox::DisplayBox(QWidget *parent)
    : QLineEdit(parent)
{
    QAccessible::installFactory(&DisplayBoxAccessible::create);
    connect(this, &QLineEdit::textChanged, this, [this] { m_kept = {0, 0}; });
}

void DisplayBox::selectOnTab()
{
    if (hasFocus() && selectedText() != text())
        selectAll();
}

std::pair<int, int> DisplayBox::selectionRange() const
{
    if (!hasSelectedText())
        return m_kept;
    return {selectionStart(), selectionEnd()};
}

QRect DisplayBox::characterRect(int offset) const
{
    const QString character = text().mid(offset, 1);
    if (character.isEmpty())
        return QRect();
    // Measured from the cursor, which QLineEdit places with its scrolling and margins applied.
    const QFontMetrics metrics(font());
    const QRect cursor = cursorRect();
    const int x = cursor.center().x() + metrics.horizontalAdvance(text().left(offset))
        - metrics.horizontalAdvance(text().left(cursorPosition()));
    return QRect(mapToGlobal(QPoint(x, cursor.top())), QSize(metrics.horizontalAdvance(character), metrics.height()));
}

void DisplayBox::focusInEvent(QFocusEvent *event)
{
    m_kept = {0, 0};
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent withoutSelecting(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&withoutSelecting);
}

void DisplayBox::focusOutEvent(QFocusEvent *event)
{
    // Qt keeps its selection itself when the focus leaves with the window or for a popup, and
    // otherwise drops it, which assistive technology must not take for a change.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && hasSelectedText())
        m_kept = {selectionStart(), selectionEnd()};
    QLineEdit::focusOutEvent(event);
}

} // namespace vantoke
