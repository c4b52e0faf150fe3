// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace vantoke {

// A push button as the design's platform (docs/design.md) has it: with the focus, Enter chooses it as Space
// does. It is nobody's default button, so Enter elsewhere in the window leaves it alone.
class CommandButton final : public QPushButton
{
    Q_OBJECT

public:
    CommandButton(const QString &text, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vantoke
