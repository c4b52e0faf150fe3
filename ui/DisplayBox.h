// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>
#include <utility>

namespace vantoke {

// A text box as the design's platform (docs/design.md) has one. Tab into it selects the whole
// text, after assistive technology has heard of the focus: Qt 6.4 selects in the focus-in,
// before it announces the focus, and a screen reader then takes the selection for the news and
// says nothing of the box; the window selects once the focus has moved, through selectOnTab().
// When the focus leaves, the box keeps its selection, hidden, until its text changes; Qt's own
// selection goes, so the box looks as it did, but assistive technology is still told of the
// kept one, and so hears of no change. DisplayBoxAccessible tells it.
class DisplayBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit DisplayBox(QWidget *parent);

    // What Tab into a box does: select the whole text.
    void selectOnTab();
    // The selection as start and end offsets, equal when there is none: Qt's, or while the
    // focus is elsewhere the one kept from when it left.
    std::pair<int, int> selectionRange() const;
    // Where character `offset` shows, in screen coordinates; empty past the end of the text.
    QRect characterRect(int offset) const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::pair<int, int> m_kept{0, 0};
};

} // namespace vantoke
