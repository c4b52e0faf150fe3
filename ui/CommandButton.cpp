// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "CommandButton.h"

#include <QKeyEvent>

namespace vantoke {

CommandButton::CommandButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // With a modifier it goes on to the window, as from any button that is not a default one.
    // QPushButton would not do that on GNOME: Qt's GNOME theme makes it press the button.
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        event->ignore();
        return;
    }
    event->accept();
    // A held key repeats; like Space, it chooses the button once.
    if (!event->isAutoRepeat())
        click();
}

} // namespace vantoke
