#include "WindowRig.h"

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
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            events << QStringLiteral("press");
            break;
        case QEvent::MouseButtonRelease:
            events << QStringLiteral("release");
            break;
        case QEvent::MouseButtonDblClick:
            events << QStringLiteral("double-click");
            break;
        default:
            break;
        }
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
    void pressesScore();
    void secondPressAsDoubleClickScores();
    void listChoiceByMouse_data();
    void listChoiceByMouse();
    void listChoiceByKeyboard_data();
    void listChoiceByKeyboard();
    void chosenDifficultyStaysChosen_data();
    void chosenDifficultyStaysChosen();
    void keysOnFocusedControl_data();
    void keysOnFocusedControl();
};

void Form1InputTest::pressesScore()
{
    VirtualWindowRig rig;
    QWidget *square = rig.control("pct6");
    rig.form.setSquareVisible(6, true);
    QTest::mousePress(square, Qt::RightButton);
    QCOMPARE(rig.form.game().state().points, 0);
    QTest::mouseRelease(square, Qt::RightButton);
    // A left press scores on the press, before any release, and hides the square.
    QTest::mousePress(square, Qt::LeftButton);
    QCOMPARE(rig.form.game().state().points, 1);
    QVERIFY(square->isHidden());
    QTest::mouseRelease(square, Qt::LeftButton);
    // The keyboard focus stays where it was: a square takes it by Tab only, and a press that
    // gave it the focus would hand it on to the list as the square hides.
    QCOMPARE(rig.form.focusWidget(), rig.control("cmdStart"));
    // A hidden square takes no click.
    rig.click(square);
    QCOMPARE(rig.form.game().state().points, 1);
}

void Form1InputTest::secondPressAsDoubleClickScores()
{
    VirtualWindowRig rig;
    QWidget *square = rig.control("pct2");
    MouseLog log;
    square->installEventFilter(&log);
    // On X11 the real pointer's events, as the window manager places the window, would come
    // between the two presses and break the pair; let them all arrive first.
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    QTest::qWait(100);
    rig.form.setSquareVisible(2, true);
    rig.click(square);
    // QTest spaces clicks apart so they never pair up; take that back so the next press comes
    // as soon as the player's second one. Qt then hands the square that press as a double-click,
    // with no press before it: press, release, double-click, release, of which the square sees
    // no release, as each press hides it.
    QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    rig.form.setSquareVisible(2, true);
    rig.click(square);
    QCOMPARE(log.events, (QStringList{"press", "double-click"}));
    QCOMPARE(rig.form.game().state().points, 2);
}

void Form1InputTest::listChoiceByMouse_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("difficulty");
    QTest::newRow("Medium") << 0 << "Medium";
    QTest::newRow("Hard") << 1 << "Hard";
    QTest::newRow("Insane") << 2 << "Insane";
}

void Form1InputTest::listChoiceByMouse()
{
    QFETCH(int, row);
    QFETCH(QString, difficulty);
    VirtualWindowRig rig;
    rig.chooseDifficulty(row);
    QCOMPARE(rig.form.difficultyText(), difficulty);
    QCOMPARE(rig.texts(), QStringList(4, QStringLiteral("0")));
    QCOMPARE(rig.list()->verticalScrollBar()->value(), 0);
}

void Form1InputTest::listChoiceByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
    QTest::newRow("Left") << int(Qt::Key_Left);
    QTest::newRow("Right") << int(Qt::Key_Right);
    QTest::newRow("Home") << int(Qt::Key_Home);
    QTest::newRow("End") << int(Qt::Key_End);
    QTest::newRow("Page Up") << int(Qt::Key_PageUp);
    QTest::newRow("Page Down") << int(Qt::Key_PageDown);
}

// Through the window: Tab into the list, where nothing is chosen yet. The first navigation key
// chooses the item under the focus frame, "Medium"; later keys move the choice from there. Each
// choice clears the four boxes.
void Form1InputTest::listChoiceByKeyboard()
{
    QFETCH(int, key);
    VirtualWindowRig rig;
    int listClicks = 0;
    connect(&rig.form, &Form1::difficultyClicked, [&listClicks] { ++listClicks; });
    const bool active = WindowRig::activates();
    if (active)
        QVERIFY(rig.activate());
    rig.box("txtPoints")->setFocus();
    QTest::keyClick(rig.form.windowHandle(), Qt::Key_Tab);
    QCOMPARE(rig.form.focusWidget(), rig.control("lst1"));
    if (active)
        QCOMPARE(rig.list()->currentRow(), 0);
    const struct
    {
        Qt::Key key;
        const char *difficulty;
    } steps[] = {{Qt::Key(key), "Medium"}, {Qt::Key_Down, "Hard"}, {Qt::Key_Up, "Medium"}};
    for (const auto &step : steps) {
        for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
            rig.box(name)->setText(QStringLiteral("x"));
        QTest::keyClick(rig.form.windowHandle(), step.key);
        QCOMPARE(rig.form.difficultyText(), QLatin1String(step.difficulty));
        QCOMPARE(rig.texts(), QStringList(4, QStringLiteral("0")));
        QCOMPARE(listClicks, int(&step - steps) + 1);
    }
}

void Form1InputTest::chosenDifficultyStaysChosen_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("clicks");
    // Each row first chooses "Hard" with a plain click (one list click), then acts.
    QTest::newRow("Ctrl+click on the chosen item") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << "Hard" << 1;
    QTest::newRow("Ctrl+Space on the chosen item") << -1 << Qt::KeyboardModifiers(Qt::ControlModifier) << "Hard" << 1;
    QTest::newRow("Ctrl+click on another item") << 2 << Qt::KeyboardModifiers(Qt::ControlModifier) << "Insane" << 2;
    QTest::newRow("click on the chosen item") << 1 << Qt::KeyboardModifiers() << "Hard" << 1;
}

// Through the window, as the player does it: with the mouse on row `row`, or Space on the list
// when `row` is -1.
void Form1InputTest::chosenDifficultyStaysChosen()
{
    QFETCH(int, row);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, difficulty);
    QFETCH(int, clicks);
    VirtualWindowRig rig;
    auto *list = rig.list();
    int listClicks = 0;
    connect(&rig.form, &Form1::difficultyClicked, [&listClicks] { ++listClicks; });
    auto clickRow = [&](int index, Qt::KeyboardModifiers keys) {
        const QRect item = list->visualItemRect(list->item(index));
        QTest::mouseClick(
            rig.form.windowHandle(), Qt::LeftButton, keys, list->viewport()->mapTo(&rig.form, item.center()));
    };
    clickRow(1, {});
    QCOMPARE(rig.form.difficultyText(), QStringLiteral("Hard"));
    QCOMPARE(rig.form.focusWidget(), list);
    if (row < 0)
        QTest::keyClick(rig.form.windowHandle(), Qt::Key_Space, modifiers);
    else
        clickRow(row, modifiers);
    QCOMPARE(rig.form.difficultyText(), difficulty);
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(listClicks, clicks);
}

void Form1InputTest::keysOnFocusedControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<bool>("starts");
    const Qt::KeyboardModifiers none;
    QTest::newRow("Space on Start") << "cmdStart" << int(Qt::Key_Space) << none << 0 << true;
    QTest::newRow("Return on Start") << "cmdStart" << int(Qt::Key_Return) << none << 0 << true;
    QTest::newRow("keypad Enter on Start")
        << "cmdStart" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0 << true;
    QTest::newRow("Space held on Start") << "cmdStart" << int(Qt::Key_Space) << none << 5 << true;
    QTest::newRow("Return held on Start") << "cmdStart" << int(Qt::Key_Return) << none << 5 << true;
    QTest::newRow("Return in a text box") << "txtPoints" << int(Qt::Key_Return) << none << 0 << false;
    QTest::newRow("Return in the list") << "lst1" << int(Qt::Key_Return) << none << 0 << false;
    QTest::newRow("keypad Enter on a square")
        << "pct5" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0 << false;
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
