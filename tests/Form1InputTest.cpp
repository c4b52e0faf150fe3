// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "WindowRig.h"

#include <QGuiApplication>
#include <QHash>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

using namespace vantoke;

namespace {

// Logs the mouse buttons' events a widget receives: "press", "release", "double-click".
struct MouseLog : QObject
{
    QStringList events;
    bool eventFilter(QObject *, QEvent *event) override
    {
        static const QHash<QEvent::Type, QString> names{{QEvent::MouseButtonPress, QStringLiteral("press")},
            {QEvent::MouseButtonRelease, QStringLiteral("release")},
            {QEvent::MouseButtonDblClick, QStringLiteral("double-click")}};
        if (names.contains(event->type()))
            events << names.value(event->type());
        return false;
    }
};

} // namespace

// The player's mouse and keys through the window: presses on the squares, choices in the list,
// keys on the control with the focus.
class Form1InputTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pressesScore_data();
    void pressesScore();
    void listChoice_data();
    void listChoice();
    void keysOnFocusedControl_data();
    void keysOnFocusedControl();
};

void Form1InputTest::pressesScore_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("lit");
    QTest::addColumn<int>("presses"); // the square lit again before each, at the player's pace
    QTest::addColumn<QStringList>("events"); // what the square receives
    QTest::addColumn<int>("points");
    QTest::newRow("right button") << Qt::RightButton << true << 1 << QStringList{"press", "release"} << 0;
    QTest::newRow("left button") << Qt::LeftButton << true << 1 << QStringList{"press"} << 1;
    QTest::newRow("dark square") << Qt::LeftButton << false << 1 << QStringList() << 0;
    // Qt hands the square the second press as a double-click, with no press before it; the square
    // sees no release, as each press hides it.
    QTest::newRow("second press as a double-click")
        << Qt::LeftButton << true << 2 << QStringList{"press", "double-click"} << 2;
}

// Presses through the window on square 2. A left press on a lit square scores on the press,
// before any release, and hides the square; a hidden square takes no press.
void Form1InputTest::pressesScore()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, lit);
    QFETCH(int, presses);
    QFETCH(QStringList, events);
    QFETCH(int, points);
    VirtualWindowRig rig;
    QWidget *square = rig.square(2);
    MouseLog log;
    square->installEventFilter(&log);
    // On X11 the pointer's events as the window manager maps and activates the window would split
    // a pair of presses; activation comes last, and a round trip delivers all sent before it.
    if (WindowRig::activates())
        QVERIFY2(rig.activate(), "the window manager never activated the window");
    QGuiApplication::sync();
    const QPoint at = square->mapTo(&rig.form, square->rect().center());
    for (int press = 0; press < presses; ++press) {
        rig.form.setSquareVisible(2, lit);
        // QTest spaces clicks apart so they never pair up; take that back so this press comes as
        // soon as the player's second.
        if (press > 0)
            QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        QTest::mousePress(rig.form.windowHandle(), button, {}, at);
        const int scored = rig.form.game().state().points;
        QCOMPARE(square->isVisible(), lit && scored == press);
        QTest::mouseRelease(rig.form.windowHandle(), button, {}, at);
        QCOMPARE(rig.form.game().state().points, scored);
    }
    QCOMPARE(log.events, events);
    QCOMPARE(rig.form.game().state().points, points);
    // The keyboard focus stays where it was: a square takes it by Tab only, and a press that
    // gave it the focus would hand it on to the list as the square hides.
    QCOMPARE(rig.form.focusWidget(), rig.control("cmdStart"));
}

void Form1InputTest::listChoice_data()
{
    // Each action in turn: "Tab" from the Points box into the list, a key, or a click on an item
    // by its row; "Ctrl+" holds Control. After each: the choice, and the list clicks so far.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("difficulties");
    QTest::addColumn<QList<int>>("clicks");
    QTest::newRow("click on Medium") << QStringList{"click 0"} << QStringList{"Medium"} << QList<int>{1};
    QTest::newRow("click on Hard") << QStringList{"click 1"} << QStringList{"Hard"} << QList<int>{1};
    QTest::newRow("click on Insane") << QStringList{"click 2"} << QStringList{"Insane"} << QList<int>{1};
    // Nothing is chosen after Tab; the first navigation key chooses the item under the focus
    // frame, "Medium"; later keys move the choice from there.
    for (const char *key : {"Down", "Up", "Left", "Right", "Home", "End", "PgUp", "PgDown"}) {
        QTest::newRow(key) << QStringList{"Tab", key, "Down", "Up"} << QStringList{"", "Medium", "Hard", "Medium"}
                           << QList<int>{0, 1, 2, 3};
    }
    // Once chosen, a difficulty can be changed but not cleared.
    const QStringList hard{"Hard", "Hard"};
    QTest::newRow("Ctrl+click on the chosen item")
        << QStringList{"click 1", "Ctrl+click 1"} << hard << QList<int>{1, 1};
    QTest::newRow("Ctrl+Space on the chosen item") << QStringList{"click 1", "Ctrl+Space"} << hard << QList<int>{1, 1};
    QTest::newRow("Ctrl+click on another item")
        << QStringList{"click 1", "Ctrl+click 2"} << QStringList{"Hard", "Insane"} << QList<int>{1, 2};
    QTest::newRow("click on the chosen item") << QStringList{"click 1", "click 1"} << hard << QList<int>{1, 1};
}

// Through the window, as the player does it. Each list click writes "0" into the four boxes.
void Form1InputTest::listChoice()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, difficulties);
    QFETCH(QList<int>, clicks);
    VirtualWindowRig rig;
    auto *list = rig.list();
    int listClicks = 0;
    connect(&rig.form, &Form1::difficultyClicked, [&listClicks] { ++listClicks; });
    // Only an active window's list gets the focus-in that places its focus frame.
    const bool active = WindowRig::activates();
    if (active)
        QVERIFY(rig.activate());
    QWindow *window = rig.form.windowHandle();
    for (qsizetype step = 0; step < actions.size(); ++step) {
        const QString &action = actions.at(step);
        const QString what = action + QStringLiteral(", step ") + QString::number(step);
        for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
            rig.box(name)->setText(QStringLiteral("x"));
        const bool control = action.startsWith(QLatin1String("Ctrl+"));
        if (action.contains(QLatin1String("click "))) {
            const QRect item = list->visualItemRect(list->item(action.back().digitValue()));
            QTest::mouseClick(window, Qt::LeftButton, control ? Qt::ControlModifier : Qt::NoModifier,
                list->viewport()->mapTo(&rig.form, item.center()));
        } else {
            if (action == QLatin1String("Tab"))
                rig.box("txtPoints")->setFocus();
            const QKeyCombination key = QKeySequence::fromString(action)[0];
            QTest::keyClick(window, key.key(), key.keyboardModifiers());
        }
        QVERIFY2(rig.form.focusWidget() == list, qPrintable(what));
        if (action == QLatin1String("Tab") && active)
            QCOMPARE(list->currentRow(), 0);
        QCOMPARE(rig.form.difficultyText(), difficulties.at(step));
        QCOMPARE(list->selectedItems().size(), difficulties.at(step).isEmpty() ? 0 : 1);
        QVERIFY2(listClicks == clicks.at(step), qPrintable(what));
        const bool clicked = listClicks > (step > 0 ? clicks.at(step - 1) : 0);
        QCOMPARE(rig.texts(), QStringList(4, clicked ? QStringLiteral("0") : QStringLiteral("x")));
    }
    QCOMPARE(list->verticalScrollBar()->value(), 0);
}

void Form1InputTest::keysOnFocusedControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<bool>("starts");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers keypad(Qt::KeypadModifier);
    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
    QTest::newRow("Space on Start") << "cmdStart" << int(Qt::Key_Space) << none << 0 << true;
    QTest::newRow("Return on Start") << "cmdStart" << int(Qt::Key_Return) << none << 0 << true;
    QTest::newRow("keypad Enter on Start") << "cmdStart" << int(Qt::Key_Enter) << keypad << 0 << true;
    QTest::newRow("Space held on Start") << "cmdStart" << int(Qt::Key_Space) << none << 5 << true;
    QTest::newRow("Return held on Start") << "cmdStart" << int(Qt::Key_Return) << none << 5 << true;
    QTest::newRow("Ctrl+Return on Start") << "cmdStart" << int(Qt::Key_Return) << ctrl << 0 << false;
    QTest::newRow("Return in a text box") << "txtPoints" << int(Qt::Key_Return) << none << 0 << false;
    QTest::newRow("Return in the list") << "lst1" << int(Qt::Key_Return) << none << 0 << false;
    QTest::newRow("keypad Enter on a square") << "pct5" << int(Qt::Key_Enter) << keypad << 0 << false;
}

// Keys through the window to the control with the focus, first between games, then during a
// pause of a game, where a Start plays a second game nested in it. A held key repeats, as the
// window system sends it: a release and a press marked as repeats, then the last release.
void Form1InputTest::keysOnFocusedControl()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, repeats);
    QFETCH(bool, starts);
    VirtualWindowRig rig;
    rig.runtime.setStepPerReading(0.01);
    rig.form.setSquareVisible(5, true);
    int games = 0;
    connect(&rig.form, &Form1::startClicked, [&games] { ++games; });
    QWidget *target = rig.control(qPrintable(focus));
    QWindow *window = rig.form.windowHandle();
    auto press = [&] {
        rig.form.setSquareVisible(5, true);
        target->setFocus();
        QCOMPARE(rig.form.focusWidget(), target);
        const QString text(QChar::fromLatin1(QTest::keyToAscii(Qt::Key(key))));
        QTest::keyPress(window, Qt::Key(key), modifiers);
        for (int repeat = 0; repeat < repeats; ++repeat) {
            QTest::simulateEvent(window, false, key, modifiers, text, true);
            QTest::simulateEvent(window, true, key, modifiers, text, true);
        }
        QTest::keyRelease(window, Qt::Key(key), modifiers);
    };
    press();
    QCOMPARE(games, starts ? 1 : 0);
    QCOMPARE(rig.form.game().state().squares > 0, starts);
    if (starts)
        QCOMPARE(rig.box("txtSquares")->text(), QString::number(rig.form.game().state().squares));

    rig.chooseDifficulty(0);
    int depth = 0;
    rig.runtime.at(rig.runtime.now() + 1.0, press);
    rig.runtime.at(rig.runtime.now() + 1.1, [&] { depth = rig.form.game().depth(); });
    rig.form.game().cmdStartClick();
    QCOMPARE(depth, starts ? 2 : 1);
    QCOMPARE(games, starts ? 2 : 0);
}

QTEST_MAIN(Form1InputTest)
#include "Form1InputTest.moc"
