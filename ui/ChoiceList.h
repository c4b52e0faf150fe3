// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QListWidget>

namespace vantoke {

// A single-choice list as the design's platform (docs/design.md) has it: before the first choice nothing is
// selected, and the first navigation key chooses the item under the focus frame; after it, the
// player can change the choice but never clear it.
class ChoiceList final : public QListWidget
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget *parent);

    // Tells assistive technology which item is chosen, once the list's own focus is announced.
    // Qt 6.5 and later offer a list's selection to a screen reader, which reads the choice with
    // the list; before that, only the focus of an item says it. Nothing while none is chosen.
    void announceChoice();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Every mouse and key action of the player selects through this; an action that would leave
    // no selection (Ctrl+click or Ctrl+Space on the chosen item) does nothing instead.
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex &index, const QEvent *event = nullptr) const override;
};

} // namespace vantoke
