// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "QtRuntime.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

using namespace vantoke;

namespace {

// A window that logs what reaches it.
class RecordingWindow : public QWindow
{
public:
    QStringList log;

protected:
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            log << QStringLiteral("press");
            break;
        case QEvent::KeyPress:
            log << QStringLiteral("key ") + static_cast<QKeyEvent *>(event)->text();
            break;
        case QEvent::Close:
            log << QStringLiteral("close");
            break;
        default:
            break;
        }
        return QWindow::event(event);
    }
};

void postPress(QWindow *window)
{
    const QPointF at(5, 5);
    QCoreApplication::postEvent(
        window, new QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
}

void postKey(QWindow *window, const QString &text)
{
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, text));
}

} // namespace

class InputHoldTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemPumpHoldsInputButLetsCloseThrough();
    void inputArrivingBeforeBacklogIsDeliveredWaitsItsTurn();
};

void InputHoldTest::systemPumpHoldsInputButLetsCloseThrough()
{
    QtRuntime runtime;
    RecordingWindow window;
    postPress(&window);
    postKey(&window, QStringLiteral("a"));
    QCoreApplication::postEvent(&window, new QCloseEvent);
    runtime.pumpSystemEvents();
    runtime.pumpSystemEvents();
    QCOMPARE(window.log, QStringList{QStringLiteral("close")});

    // Back in an ordinary pass of the event loop, the held input arrives in order.
    QTRY_COMPARE(window.log, (QStringList{"close", "press", "key a"}));
}

void InputHoldTest::inputArrivingBeforeBacklogIsDeliveredWaitsItsTurn()
{
    QtRuntime runtime;
    RecordingWindow window;
    postKey(&window, QStringLiteral("1"));
    postKey(&window, QStringLiteral("2"));
    runtime.pumpSystemEvents();
    postKey(&window, QStringLiteral("3"));
    QTRY_COMPARE(window.log, (QStringList{"key 1", "key 2", "key 3"}));
}

QTEST_MAIN(InputHoldTest)
#include "InputHoldTest.moc"
