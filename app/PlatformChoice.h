// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <QVersionNumber>

namespace vantoke {

// The platform plugins the game asks Qt for, in QT_QPA_PLATFORM's form, or nothing to leave the
// choice to Qt. In a Wayland session that also offers X (XWayland), Qt before 6.8 draws a
// window's title bar only after loading the system's GL driver, which triples the game's memory
// (docs/performance.md); through X the compositor draws the title bar instead. A platform the
// player or the session names, in QT_QPA_PLATFORM or with -platform, stands, and so does a
// session that asks Qt for no title bars at all.
QByteArray preferredPlatform(const QStringList &arguments, const QProcessEnvironment &environment, QVersionNumber qt);

// Sets QT_QPA_PLATFORM to preferredPlatform() for this process and this Qt, if that names any;
// call before the application object exists. Also switches off, unless the player set it, the
// timer with which Qt's Wayland plugin watches each frame for a compositor that stops answering:
// it wakes the game once a frame, a tenth of a point of a core at a hit's pace, and a raster
// window gains nothing by it, since its updates wait for the compositor's answer either way.
void choosePlatform(int argc, char *argv[]);

} // namespace vantoke
