#include "ChoiceList.h"

namespace vantoke {

ChoiceList::ChoiceList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
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
