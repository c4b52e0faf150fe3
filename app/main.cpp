// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "EventTable.h"
#include "Form1.h"
#include "PlatformChoice.h"
#include "QtRuntime.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    vantoke::choosePlatform(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantoke"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantoke"));
    QApplication::setDesktopFileName(QStringLiteral("org.vantoke.Vantoke"));

    vantoke::QtRuntime runtime;
    vantoke::Form1 form(runtime);
    vantoke::connectEventTable(form);
    form.load();
    form.show();
    return QApplication::exec();
}
