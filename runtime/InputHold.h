// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

namespace vantoke {

// Holds back the user's input while the program handles everything else, then delivers it in
// the order it came. Qt's own ExcludeUserInputEvents counts the window manager's close request
// as input too; this lets a close through while clicks and keys wait.
class InputHold final : public QObject
{
public:
    // Filters the application's events from now on; needs a QCoreApplication.
    InputHold();

    // While on, input sent to a window is kept. Once off, the kept input is delivered one event
    // per pass of the event loop, and input arriving before the last of it waits its turn.
    void setHolding(bool holding) { m_holding = holding; }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    void armRelease();
    void releaseNext();

    std::vector<Held> m_held;
    const QEvent *m_releasing = nullptr;
    bool m_holding = false;
    bool m_releaseArmed = false;
};

} // namespace vantoke
