// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "QtRuntime.h"
#include "WindowRig.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

using namespace vantoke;

// A whole game on the window, and closing it: mid-game, nested, and on the real runtime.
class Form1LifecycleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeGameOnWindow();
    void closeMidGameAtDepthTwo();
    void closeMidGameReturnsToEventLoop();
    void closeRequestOnRealRuntime_data();
    void closeRequestOnRealRuntime();
};

void Form1LifecycleTest::wholeGameOnWindow()
{
    VirtualWindowRig rig;
    rig.chooseDifficulty(0);
    rig.runtime.setRandoms({0.1f, 0.1f, 0.9f, 0.5f, 0.5f, 0.3f, 0.7f});
    for (int turn = 0; turn < 20; ++turn)
        rig.runtime.at(0.75 * turn + 0.3, [&rig] { rig.click(rig.litSquare()); });
    rig.click(rig.control("cmdStart"));

    QCOMPARE(rig.form.game().depth(), 0);
    QCOMPARE(rig.texts(), (QStringList{"19", "14.25", "20", "100.00%"}));
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
        QVERIFY(rig.box(name)->isReadOnly());
    QCOMPARE(rig.litSquare(), nullptr);
}

void Form1LifecycleTest::closeMidGameAtDepthTwo()
{
    VirtualWindowRig rig;
    rig.chooseDifficulty(1);
    int depthAtClose = 0;
    QStringList textsAtClose;
    rig.runtime.at(1.0, [&rig] { rig.click(rig.control("cmdStart")); });
    rig.runtime.at(2.0, [&] {
        depthAtClose = rig.form.game().depth();
        QVERIFY(rig.form.close());
        textsAtClose = rig.texts();
    });
    rig.click(rig.control("cmdStart"));

    QCOMPARE(depthAtClose, 2);
    QCOMPARE(rig.form.game().depth(), 0);
    QCOMPARE(rig.texts(), textsAtClose);
    QCOMPARE(rig.runtime.now(), 2.0);
    QVERIFY(!rig.form.isVisible());
}

void Form1LifecycleTest::closeMidGameReturnsToEventLoop()
{
    VirtualWindowRig rig;
    rig.chooseDifficulty(2);
    rig.runtime.at(1.0, [&rig] { rig.click(rig.control("cmdStart")); });
    rig.runtime.at(3.0, [&rig] { rig.form.close(); });
    QTimer::singleShot(0, &rig.form, [&rig] { rig.click(rig.control("cmdStart")); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(rig.form.game().depth(), 0);
}

void Form1LifecycleTest::closeRequestOnRealRuntime_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("mid-game on Insane") << 2;
    QTest::newRow("mid-game with no difficulty") << -1;
}

// The program as it runs, on the real runtime and clock: a close request from the window system
// (a close event to the window, which is how Qt hands one on), made when the first turn ends,
// ends the game well before its 15 seconds, and the program leaves its event loop with status 0.
void Form1LifecycleTest::closeRequestOnRealRuntime()
{
    QFETCH(int, row);
    QtRuntime runtime;
    WindowRig rig(runtime);
    Form1 &form = rig.form;
    if (row >= 0)
        rig.list()->setCurrentRow(row);
    // A turn writes the elapsed time as it ends.
    connect(
        rig.box("txtTime"), &QLineEdit::textChanged, &form,
        [&form] { QCoreApplication::postEvent(form.windowHandle(), new QCloseEvent); }, Qt::SingleShotConnection);
    QTimer::singleShot(0, &form, [&form] { form.game().cmdStartClick(); });
    // Only a game that never gets to its first turn's end would leave the event loop to this.
    QTimer::singleShot(60'000, &form, [] { QCoreApplication::exit(1); });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY2(clock.elapsed() < 10'000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(form.game().depth(), 0);
    QVERIFY(form.game().state().squares > 0);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form1LifecycleTest)
#include "Form1LifecycleTest.moc"
