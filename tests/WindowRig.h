// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Form1.h"
#include "VirtualRuntime.h"

#include <QStringList>

class QLineEdit;
class QListWidget;

namespace vantoke {

class RuntimeServices;

// The window wired as the program wires it, loaded and shown on `runtime`, and the ways the
// tests reach and drive its controls. `watcher`, if given, filters the
// window's events from before it first shows.
class WindowRig
{
public:
    explicit WindowRig(RuntimeServices &runtime, QObject *watcher = nullptr);

    Form1 form;

    template <typename T = QWidget> T *control(const char *name)
    {
        return form.findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *box(const char *name);
    QListWidget *list();
    // Square `square`, 1 to 6.
    QWidget *square(int square);
    // The square now lit, if any.
    QWidget *litSquare();
    // The four boxes' texts: points, time, squares, percent.
    QStringList texts();

    // Whether the window becomes active, and with it the keyboard focus real, once shown: Wayland
    // leaves that to the compositor, and a headless one never does it.
    static bool activates();
    // Asks for the window to be made active, as a window manager may not do on its own for a
    // window that has seen no input yet, and waits until it is.
    bool activate();
    // A left click as the window system delivers it, at the centre of `widget`.
    void click(QWidget *widget);
    // A left click on row `row` of the difficulty list.
    void chooseDifficulty(int row);
};

// The virtual runtime, ready to hand Qt's events on as it pumps, before the window is built on it.
struct PumpingVirtualRuntime
{
    PumpingVirtualRuntime() { runtime.setPumpsQt(true); }
    VirtualRuntime runtime;
};

// The window on the virtual runtime, so a whole game plays in milliseconds.
struct VirtualWindowRig : PumpingVirtualRuntime, WindowRig
{
    VirtualWindowRig()
        : WindowRig(runtime)
    {
    }
};

} // namespace vantoke
