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
// call before the application object exists.
void choosePlatform(int argc, char *argv[]);

} // namespace vantoke
