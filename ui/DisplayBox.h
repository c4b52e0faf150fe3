#pragma once

#include <QLineEdit>

namespace vantoke {

// A text box whose select-all on Tab comes after assistive technology has heard of the focus.
// Qt 6.4 selects in the focus-in, before it announces the focus, and a screen reader then takes
// the selection for the news and says nothing of the box; the window selects once the focus
// has moved, through selectOnTab().
class DisplayBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit DisplayBox(QWidget *parent);

    // What Tab into a box does on the design's platform (docs/design.md): select the whole text.
    void selectOnTab();

protected:
    void focusInEvent(QFocusEvent *event) override;
};

} // namespace vantoke
