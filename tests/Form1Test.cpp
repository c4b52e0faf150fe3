#include "Form1.h"
#include "EventTable.h"
#include "QtRuntime.h"
#include "VirtualRuntime.h"

#include <QAccessible>
#include <QAccessibleBridge>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

using namespace vantoke;

namespace {

// The window on the virtual runtime, wired as the program wires it, loaded and shown.
struct Rig
{
    VirtualRuntime runtime;
    Form1 form{runtime};

    Rig()
    {
        runtime.setPumpsQt(true);
        connectEventTable(form);
        form.load();
        form.show();
    }
    template <typename T = QWidget> T *control(const char *name)
    {
        return form.findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *box(const char *name) { return control<QLineEdit>(name); }
    // Whether the window becomes active, and with it the keyboard focus real, once shown: Wayland
    // leaves that to the compositor, and a headless one never does it.
    static bool activates() { return QGuiApplication::platformName() != QLatin1String("wayland"); }
    // Asks for the window to be made active, as a window manager may not do on its own for a
    // window that has seen no input yet, and waits until it is.
    bool activate()
    {
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }
    // A left click as the window system delivers it, at the centre of `widget`.
    void click(QWidget *widget)
    {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&form, widget->rect().center()));
    }
    void chooseDifficulty(int row)
    {
        auto *list = control<QListWidget>("lst1");
        const QRect item = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    }
    QWidget *litSquare()
    {
        for (int square = 1; square <= 6; ++square) {
            QWidget *widget = control(qPrintable(QStringLiteral("pct%1").arg(square)));
            if (widget->isVisible())
                return widget;
        }
        return nullptr;
    }
    QStringList texts()
    {
        return {box("txtPoints")->text(), box("txtTime")->text(), box("txtSquares")->text(), box("txtPercent")->text()};
    }
};

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

// What the window tells assistive technology, in order: each accessibility event's control and
// type. Qt hands its events to a program's own bridge only where no screen reader's bridge is
// active, as on the offscreen platform.
struct AccessibilityLog final : QAccessibleBridge
{
    // The log Qt created. Qt owns its bridges but never frees them; this keeps it in reach.
    static inline AccessibilityLog *instance = nullptr;
    QList<std::pair<QObject *, QAccessible::Event>> events;

    AccessibilityLog() { instance = this; }
    void setRootObject(QAccessibleInterface *) override { }
    void notifyAccessibilityUpdate(QAccessibleEvent *event) override
    {
        events.append({event->object(), event->type()});
    }

    // The type of the first event about `object` since the log was last cleared.
    std::optional<QAccessible::Event> firstAbout(const QObject *object) const
    {
        for (const auto &[source, type] : events) {
            if (source == object)
                return type;
        }
        return std::nullopt;
    }
};

} // namespace

// Qt loads the log as a bridge plugin, linked into this test.
class AccessibilityLogPlugin final : public QAccessibleBridgePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "AccessibilityLog.json")

public:
    QAccessibleBridge *create(const QString &) override { return new AccessibilityLog; }
};
Q_IMPORT_PLUGIN(AccessibilityLogPlugin)

class Form1Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void window();
    void controls_data();
    void controls();
    void initialState();
    void tabOrderAndInitialFocus();
    void accessibleNames_data();
    void accessibleNames();
    void listShowsEveryItemWhole();
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
    void wholeGameOnWindow();
    void closeMidGameAtDepthTwo();
    void closeMidGameReturnsToEventLoop();
    void closeRequestOnRealRuntime_data();
    void closeRequestOnRealRuntime();
};

void Form1Test::window()
{
    Rig rig;
    QCOMPARE(rig.form.windowTitle(), QStringLiteral("Vantoke"));
    QCOMPARE(rig.form.size(), QSize(592, 566));
    QVERIFY(rig.form.autoFillBackground());
    QCOMPARE(rig.form.palette().color(QPalette::Window), QColor(0, 192, 192));
    // Resizable, with the controls left where they were.
    rig.form.resize(800, 700);
    QCOMPARE(rig.control("cmdStart")->geometry(), QRect(264, 192, 57, 33));
}

void Form1Test::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("caption");
    const QColor red(255, 0, 0);
    const QColor none;
    // Twips divided by 15.
    QTest::newRow("pct1") << "pct1"
                          << "vantoke::Square" << QRect(136, 296, 73, 73) << red << "";
    QTest::newRow("pct2") << "pct2"
                          << "vantoke::Square" << QRect(256, 296, 73, 73) << red << "";
    QTest::newRow("pct3") << "pct3"
                          << "vantoke::Square" << QRect(376, 296, 73, 73) << red << "";
    QTest::newRow("cmdStart") << "cmdStart"
                              << "vantoke::CommandButton" << QRect(264, 192, 57, 33) << QColor(192, 192, 192)
                              << "Start";
    QTest::newRow("txtTime") << "txtTime"
                             << "vantoke::DisplayBox" << QRect(408, 96, 49, 41) << none << "";
    QTest::newRow("txtPoints") << "txtPoints"
                               << "vantoke::DisplayBox" << QRect(128, 96, 49, 41) << none << "";
    QTest::newRow("pct4") << "pct4"
                          << "vantoke::Square" << QRect(136, 416, 73, 73) << red << "";
    QTest::newRow("pct5") << "pct5"
                          << "vantoke::Square" << QRect(256, 416, 73, 73) << red << "";
    QTest::newRow("pct6") << "pct6"
                          << "vantoke::Square" << QRect(376, 416, 73, 73) << red << "";
    QTest::newRow("lbl1") << "lbl1"
                          << "QLabel" << QRect(136, 72, 33, 17) << red << "Points";
    QTest::newRow("lbl2") << "lbl2"
                          << "QLabel" << QRect(400, 72, 65, 17) << red << "Time Elapsed";
    QTest::newRow("lst1") << "lst1"
                          << "vantoke::ChoiceList" << QRect(264, 72, 57, 43) << none << "Medium|Hard|Insane";
    QTest::newRow("lbl3") << "lbl3"
                          << "QLabel" << QRect(264, 48, 57, 17) << red << "Difficulty";
    QTest::newRow("txtPercent") << "txtPercent"
                                << "vantoke::DisplayBox" << QRect(56, 184, 57, 41) << none << "";
    QTest::newRow("txtSquares") << "txtSquares"
                                << "vantoke::DisplayBox" << QRect(472, 184, 57, 41) << none << "";
    QTest::newRow("lbl4") << "lbl4"
                          << "QLabel" << QRect(56, 160, 57, 17) << red << "Percent Hit";
    QTest::newRow("lbl5") << "lbl5"
                          << "QLabel" << QRect(472, 160, 57, 17) << red << "Squares";
}

void Form1Test::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QColor, background);
    QFETCH(QString, caption);
    Rig rig;
    QWidget *widget = rig.control(qPrintable(name));
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->geometry(), geometry);
    if (background.isValid()) {
        QVERIFY(widget->autoFillBackground() || qobject_cast<QPushButton *>(widget));
        QCOMPARE(widget->palette().color(widget->backgroundRole()), background);
    } else {
        QCOMPARE(widget->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    }
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), caption);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
    if (auto *list = qobject_cast<QListWidget *>(widget)) {
        QStringList items;
        for (int row = 0; row < list->count(); ++row)
            items << list->item(row)->text();
        QCOMPARE(items.join(QLatin1Char('|')), caption);
    }
}

void Form1Test::initialState()
{
    Rig rig;
    for (int square = 1; square <= 6; ++square)
        QVERIFY(rig.control(qPrintable(QStringLiteral("pct%1").arg(square)))->isHidden());
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"}) {
        QVERIFY(rig.box(name)->text().isEmpty());
        QVERIFY(!rig.box(name)->isReadOnly());
    }
    QVERIFY(rig.control<QListWidget>("lst1")->selectedItems().isEmpty());
    QCOMPARE(rig.form.difficultyText(), QString());
    auto *start = rig.control<QPushButton>("cmdStart");
    QVERIFY(start->isEnabled());
    QVERIFY(!start->isDefault());
    QVERIFY(!start->autoDefault());
    QCOMPARE(rig.runtime.seedCount(), 1);
}

// Checked on the window's own focus, which the window system hands to the keyboard once the
// window is active; a compositor with no seat never makes it active.
void Form1Test::tabOrderAndInitialFocus()
{
    Rig rig;
    QCOMPARE(rig.form.focusWidget(), rig.control("cmdStart"));
    // The list's focus frame is checked where the window can be active.
    const bool active = Rig::activates();
    if (active)
        QVERIFY(rig.activate());

    for (int square = 1; square <= 6; ++square)
        rig.form.setSquareVisible(square, true);
    const QStringList expected{"pct1", "pct2", "pct3", "cmdStart", "txtTime", "txtPoints", "pct4", "pct5", "pct6",
        "lst1", "txtPercent", "txtSquares"};
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
        rig.box(name)->setText(QStringLiteral("12"));
    QStringList chain;
    rig.control("pct1")->setFocus();
    AccessibilityLog *log = nullptr;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        log = AccessibilityLog::instance;
        QVERIFY(log);
    }
    for (int step = 0; step < expected.size(); ++step) {
        chain << rig.form.focusWidget()->objectName();
        if (log)
            log->events.clear();
        QTest::keyClick(rig.form.windowHandle(), Qt::Key_Tab);
        // A screen reader takes the first event about a control as where the focus went; any
        // other, such as a box's select-all on Tab, would hide the focus it announces.
        if (log) {
            const std::optional<QAccessible::Event> first = log->firstAbout(rig.form.focusWidget());
            const QString type = first ? QString::number(*first, 16) : QStringLiteral("none");
            const QString what = rig.form.focusWidget()->objectName() + QStringLiteral(": first event ") + type;
            QVERIFY2(first == QAccessible::Focus, qPrintable(what));
        }
        // Tab into a box selects its text, once the focus is announced.
        if (auto *box = qobject_cast<QLineEdit *>(rig.form.focusWidget()); box && active)
            QCOMPARE(box->selectedText(), QStringLiteral("12"));
        // Tab into the list puts its focus frame on the first item without choosing it: the
        // difficulty is the selected item's, so there is none. Only an active window's list
        // gets the focus-in that places the frame.
        if (auto *list = qobject_cast<QListWidget *>(rig.form.focusWidget())) {
            if (active)
                QCOMPARE(list->currentRow(), 0);
            QCOMPARE(rig.form.difficultyText(), QString());
        }
    }
    QCOMPARE(chain, expected);
    QCOMPARE(rig.form.focusWidget()->objectName(), QStringLiteral("pct1"));
}

void Form1Test::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("txtPoints") << "txtPoints"
                               << "Points";
    QTest::newRow("txtTime") << "txtTime"
                             << "Time Elapsed";
    QTest::newRow("lst1") << "lst1"
                          << "Difficulty";
    QTest::newRow("txtPercent") << "txtPercent"
                                << "Percent Hit";
    QTest::newRow("txtSquares") << "txtSquares"
                                << "Squares";
    QTest::newRow("pct1") << "pct1"
                          << "Square 1";
    QTest::newRow("pct6") << "pct6"
                          << "Square 6";
    QTest::newRow("cmdStart") << "cmdStart"
                              << "Start";
}

void Form1Test::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    Rig rig;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(rig.control(qPrintable(name)));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
}

void Form1Test::listShowsEveryItemWhole()
{
    Rig rig;
    auto *list = rig.control<QListWidget>("lst1");
    QCOMPARE(list->verticalScrollBar()->maximum(), 0);
    QVERIFY(!list->verticalScrollBar()->isVisible());
    const QFontMetrics metrics(list->font());
    for (int row = 0; row < list->count(); ++row) {
        const QRect item = list->visualItemRect(list->item(row));
        QVERIFY(list->viewport()->rect().contains(item));
        QVERIFY(metrics.horizontalAdvance(list->item(row)->text()) < item.width());
        QVERIFY(metrics.height() <= item.height());
    }
}

void Form1Test::pressesScore()
{
    Rig rig;
    QWidget *square = rig.control("pct3");
    rig.form.setSquareVisible(3, true);
    QTest::mousePress(square, Qt::RightButton);
    QCOMPARE(rig.form.game().state().points, 0);
    QTest::mouseRelease(square, Qt::RightButton);
    // A left press scores on the press, before any release, and hides the square.
    QTest::mousePress(square, Qt::LeftButton);
    QCOMPARE(rig.form.game().state().points, 1);
    QVERIFY(square->isHidden());
    QTest::mouseRelease(square, Qt::LeftButton);
    // A hidden square takes no click.
    rig.click(square);
    QCOMPARE(rig.form.game().state().points, 1);
}

void Form1Test::secondPressAsDoubleClickScores()
{
    Rig rig;
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

void Form1Test::listChoiceByMouse_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("difficulty");
    QTest::newRow("Medium") << 0 << "Medium";
    QTest::newRow("Hard") << 1 << "Hard";
    QTest::newRow("Insane") << 2 << "Insane";
}

void Form1Test::listChoiceByMouse()
{
    QFETCH(int, row);
    QFETCH(QString, difficulty);
    Rig rig;
    rig.chooseDifficulty(row);
    QCOMPARE(rig.form.difficultyText(), difficulty);
    QCOMPARE(rig.texts(), QStringList(4, QStringLiteral("0")));
    QCOMPARE(rig.control<QListWidget>("lst1")->verticalScrollBar()->value(), 0);
}

void Form1Test::listChoiceByKeyboard_data()
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
void Form1Test::listChoiceByKeyboard()
{
    QFETCH(int, key);
    Rig rig;
    int listClicks = 0;
    connect(&rig.form, &Form1::difficultyClicked, [&listClicks] { ++listClicks; });
    const bool active = Rig::activates();
    if (active)
        QVERIFY(rig.activate());
    rig.box("txtPoints")->setFocus();
    QTest::keyClick(rig.form.windowHandle(), Qt::Key_Tab);
    QCOMPARE(rig.form.focusWidget(), rig.control("lst1"));
    if (active)
        QCOMPARE(rig.control<QListWidget>("lst1")->currentRow(), 0);
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

void Form1Test::chosenDifficultyStaysChosen_data()
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
void Form1Test::chosenDifficultyStaysChosen()
{
    QFETCH(int, row);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, difficulty);
    QFETCH(int, clicks);
    Rig rig;
    auto *list = rig.control<QListWidget>("lst1");
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

void Form1Test::keysOnFocusedControl_data()
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
void Form1Test::keysOnFocusedControl()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, repeats);
    QFETCH(bool, starts);
    Rig rig;
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

void Form1Test::wholeGameOnWindow()
{
    Rig rig;
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

void Form1Test::closeMidGameAtDepthTwo()
{
    Rig rig;
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

void Form1Test::closeMidGameReturnsToEventLoop()
{
    Rig rig;
    rig.chooseDifficulty(2);
    rig.runtime.at(1.0, [&rig] { rig.click(rig.control("cmdStart")); });
    rig.runtime.at(3.0, [&rig] { rig.form.close(); });
    QTimer::singleShot(0, &rig.form, [&rig] { rig.click(rig.control("cmdStart")); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(rig.form.game().depth(), 0);
}

void Form1Test::closeRequestOnRealRuntime_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("mid-game on Insane") << 2;
    QTest::newRow("mid-game with no difficulty") << -1;
}

// The program as it runs, on the real runtime and clock: a close request from the window system
// (a close event to the window, which is how Qt hands one on), made when the first turn ends,
// ends the game well before its 15 seconds, and the program leaves its event loop with status 0.
void Form1Test::closeRequestOnRealRuntime()
{
    QFETCH(int, row);
    QtRuntime runtime;
    Form1 form(runtime);
    connectEventTable(form);
    form.load();
    form.show();
    if (row >= 0)
        form.findChild<QListWidget *>(QStringLiteral("lst1"))->setCurrentRow(row);
    // A turn writes the elapsed time as it ends.
    connect(
        form.findChild<QLineEdit *>(QStringLiteral("txtTime")), &QLineEdit::textChanged, &form,
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

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
