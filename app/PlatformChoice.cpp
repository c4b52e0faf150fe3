// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "PlatformChoice.h"

#include <QLibraryInfo>

namespace vantoke {

QByteArray preferredPlatform(const QStringList &arguments, const QProcessEnvironment &environment, QVersionNumber qt)
{
    if (qt >= QVersionNumber(6, 8) || !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    // Qt reads its own options with one dash or two.
    if (arguments.contains(QLatin1String("-platform")) || arguments.contains(QLatin1String("--platform")))
        return {};
    if (environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
        || environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return {};
    if (environment.value(QStringLiteral("QT_WAYLAND_DISABLE_WINDOWDECORATION")).toInt() != 0)
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

void choosePlatform(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    const QByteArray platform
        = preferredPlatform(arguments, QProcessEnvironment::systemEnvironment(), QLibraryInfo::version());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"))
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
}

} // namespace vantoke
