// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>

namespace vantoke {

class DisplayBox;

// What assistive technology reads of a box: Qt's own account of a line edit, but for its text
// attributes. Qt reports an empty run at every offset, which Orca 43 joins into one run that
// ends a character short, and then speaks every value without its last character ("2" for
// 20). This reports one run over the whole text, with no attributes. A locked (read-only) box
// refuses every edit made through it, as it refuses typing; it still says it is editable text.
class DisplayBoxAccessible final : public QAccessibleWidget,
                                   public QAccessibleTextInterface,
                                   public QAccessibleEditableTextInterface
{
public:
    explicit DisplayBoxAccessible(DisplayBox *box);

    // For QAccessible::installFactory: the interface of a DisplayBox, and of nothing else.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void addSelection(int startOffset, int endOffset) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    int cursorPosition() const override;
    QRect characterRect(int offset) const override;
    int selectionCount() const override;
    int offsetAtPoint(const QPoint &point) const override;
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    QString text(int startOffset, int endOffset) const override;
    void removeSelection(int selectionIndex) override;
    void setCursorPosition(int position) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int characterCount() const override;
    void scrollToSubstring(int startIndex, int endIndex) override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    DisplayBox *box() const;
    // Replaces the box's text, unless the box is locked.
    void edit(const QString &text);
};

} // namespace vantoke
