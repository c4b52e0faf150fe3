// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "ChoiceList.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <algorithm>

namespace vantoke {

ChoiceList::ChoiceList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void ChoiceList::announceChoice()
{
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    if (!hasFocus() || chosen.isEmpty() || QLibraryInfo::version() >= QVersionNumber(6, 5))
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    // Every item shows, in one column: an item's row is its place among the list's children.
    event.setChild(chosen.first().row());
    QAccessible::updateAccessibility(&event);
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    static constexpr int kNavigationKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
        Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};
    const bool navigates = std::ranges::find(kNavigationKeys, event->key()) != std::end(kNavigationKeys);
    if (!navigates || selectionModel()->hasSelection() || count() == 0) {
        QListWidget::keyPressEvent(event);
        return;
    }
    // The focus frame is on the first item until the list has had the focus. The frame leaves it
    // and comes back, so that the item's focus is announced with its choice, as a move would be.
    const QModelIndex framed = currentIndex().isValid() ? currentIndex() : model()->index(0, 0);
    selectionModel()->clearCurrentIndex();
    selectionModel()->setCurrentIndex(framed, QItemSelectionModel::ClearAndSelect);
    event->accept();
}

QItemSelectionModel::SelectionFlags ChoiceList::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    const bool clears = command.testAnyFlags(
        QItemSelectionModel::Clear | QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
    if (clears && !command.testFlag(QItemSelectionModel::Select) && selectionModel()->hasSelection())
        return QItemSelectionModel::NoUpdate;
    return command;
}

} // namespace vantoke
