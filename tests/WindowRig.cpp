// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "WindowRig.h"
#include "EventTable.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace vantoke {

WindowRig::WindowRig(RuntimeServices &runtime, QObject *watcher)
    : form(runtime)
{
    if (watcher)
        form.installEventFilter(watcher);
    connectEventTable(form);
    form.load();
    form.show();
}

QLineEdit *WindowRig::box(const char *name)
{
    return control<QLineEdit>(name);
}

QListWidget *WindowRig::list()
{
    return control<QListWidget>("lst1");
}

QWidget *WindowRig::square(int square)
{
    return form.findChild<QWidget *>(QStringLiteral("pct%1").arg(square));
}

QWidget *WindowRig::litSquare()
{
    for (int number = 1; number <= 6; ++number) {
        if (QWidget *widget = square(number); widget->isVisible())
            return widget;
    }
    return nullptr;
}

QStringList WindowRig::texts()
{
    return {box("txtPoints")->text(), box("txtTime")->text(), box("txtSquares")->text(), box("txtPercent")->text()};
}

bool WindowRig::activates()
{
    return QGuiApplication::platformName() != QLatin1String("wayland");
}

bool WindowRig::activate()
{
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

void WindowRig::click(QWidget *widget)
{
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&form, widget->rect().center()));
}

void WindowRig::chooseDifficulty(int row)
{
    const QRect item = list()->visualItemRect(list()->item(row));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, item.center());
}

} // namespace vantoke
