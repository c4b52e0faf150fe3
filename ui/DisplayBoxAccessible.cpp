// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "DisplayBoxAccessible.h"
#include "DisplayBox.h"

#include <tuple>

namespace vantoke {

DisplayBoxAccessible::DisplayBoxAccessible(DisplayBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QAccessibleInterface *DisplayBoxAccessible::create(const QString &className, QObject *object)
{
    if (className != QLatin1String(DisplayBox::staticMetaObject.className()))
        return nullptr;
    return new DisplayBoxAccessible(static_cast<DisplayBox *>(object));
}

DisplayBox *DisplayBoxAccessible::box() const
{
    return static_cast<DisplayBox *>(widget());
}

QString DisplayBoxAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value && !box()->text().isEmpty())
        return box()->text();
    return QAccessibleWidget::text(type);
}

void DisplayBoxAccessible::setText(QAccessible::Text type, const QString &text)
{
    if (type == QAccessible::Value)
        edit(text);
    else
        QAccessibleWidget::setText(type, text);
}

QAccessible::State DisplayBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
}

void *DisplayBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void DisplayBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

QString DisplayBoxAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

int DisplayBoxAccessible::cursorPosition() const
{
    return box()->cursorPosition();
}

QRect DisplayBoxAccessible::characterRect(int offset) const
{
    return box()->characterRect(offset);
}

int DisplayBoxAccessible::selectionCount() const
{
    const auto [start, end] = box()->selectionRange();
    return start < end ? 1 : 0;
}

int DisplayBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void DisplayBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0)
        std::tie(*startOffset, *endOffset) = box()->selectionRange();
}

QString DisplayBoxAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return QString();
    return box()->text().mid(startOffset, endOffset - startOffset);
}

void DisplayBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->deselect();
}

void DisplayBoxAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

void DisplayBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset - startOffset);
}

int DisplayBoxAccessible::characterCount() const
{
    return static_cast<int>(box()->text().size());
}

void DisplayBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
}

void DisplayBoxAccessible::deleteText(int startOffset, int endOffset)
{
    edit(box()->text().remove(startOffset, endOffset - startOffset));
}

void DisplayBoxAccessible::insertText(int offset, const QString &text)
{
    edit(box()->text().insert(offset, text));
}

void DisplayBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    edit(box()->text().replace(startOffset, endOffset - startOffset, text));
}

void DisplayBoxAccessible::edit(const QString &text)
{
    if (!box()->isReadOnly())
        box()->setText(text);
}

} // namespace vantoke
