#include "DisplayBox.h"

#include <QFocusEvent>

namespace vantoke {

DisplayBox::DisplayBox(QWidget *parent)
    : QLineEdit(parent)
{
}

void DisplayBox::selectOnTab()
{
    if (hasFocus() && !hasSelectedText())
        selectAll();
}

void DisplayBox::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent withoutSelecting(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&withoutSelecting);
}

} // namespace vantoke
