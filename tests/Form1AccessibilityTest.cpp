#include "WindowRig.h"

#include <QAccessible>
#include <QAccessibleBridge>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <optional>

using namespace vantoke;

namespace {

// What the window tells assistive technology, in order: each accessibility event's control and
// type. Qt hands its events to a program's own bridge only where no screen reader's bridge is
// active, as on the offscreen platform.
struct AccessibilityLog final : QAccessibleBridge
{
    // The log Qt created. Qt owns its bridges but never frees them; this keeps it in reach.
    static inline AccessibilityLog *instance = nullptr;
    struct Event
    {
        QObject *object;
        QAccessible::Event type;
        int child; // -1 for the object itself
    };
    QList<Event> events;

    AccessibilityLog() { instance = this; }
    void setRootObject(QAccessibleInterface *) override { }
    void notifyAccessibilityUpdate(QAccessibleEvent *event) override
    {
        events.append({event->object(), event->type(), event->child()});
    }

    // The type of the first event about `object` since the log was last cleared.
    std::optional<QAccessible::Event> firstAbout(const QObject *object) const
    {
        for (const Event &event : events) {
            if (event.object == object)
                return event.type;
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

// What the window tells assistive technology: the focus order, and the names and events a
// screen reader hears.
class Form1AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabOrderAndInitialFocus();
    void choiceSaidWithListFocus_data();
    void choiceSaidWithListFocus();
    void valuesReadWhole_data();
    void valuesReadWhole();
    void accessibleNames_data();
    void accessibleNames();
};

// Checked on the window's own focus, which the window system hands to the keyboard once the
// window is active; a compositor with no seat never makes it active.
void Form1AccessibilityTest::tabOrderAndInitialFocus()
{
    VirtualWindowRig rig;
    QCOMPARE(rig.form.focusWidget(), rig.control("cmdStart"));
    // The list's focus frame is checked where the window can be active.
    const bool active = WindowRig::activates();
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
    // The selection a screen reader is told of, as start and end.
    auto toldSelection = [](QWidget *box) {
        std::pair<int, int> range;
        QAccessible::queryAccessibleInterface(box)->textInterface()->selection(0, &range.first, &range.second);
        return range;
    };
    for (int step = 0; step < expected.size(); ++step) {
        QWidget *left = rig.form.focusWidget();
        chain << left->objectName();
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
        // A box the focus leaves keeps its selection, hidden, so a screen reader hears of no
        // change ("Text unselected").
        if (auto *box = qobject_cast<QLineEdit *>(left); box && active) {
            QVERIFY(!box->hasSelectedText());
            QCOMPARE(toldSelection(box), std::pair(0, 2));
        }
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
    // New text ends the kept selection.
    rig.box("txtPoints")->setText(QStringLiteral("3"));
    QCOMPARE(toldSelection(rig.box("txtPoints")), std::pair(0, 0));
}

void Form1AccessibilityTest::choiceSaidWithListFocus_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("nothing chosen") << -1;
    QTest::newRow("Medium") << 0;
    QTest::newRow("Insane") << 2;
}

// Tab into the list: its own focus comes first, then, on a Qt that offers no list's selection
// to a screen reader, the chosen item's focus, which says the choice; nothing while none is.
void Form1AccessibilityTest::choiceSaidWithListFocus()
{
    QFETCH(int, row);
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QSKIP("A screen reader's bridge takes the events here");
    VirtualWindowRig rig;
    QVERIFY(rig.activate());
    if (row >= 0)
        rig.chooseDifficulty(row);
    rig.box("txtPoints")->setFocus();
    AccessibilityLog *log = AccessibilityLog::instance;
    log->events.clear();
    QTest::keyClick(rig.form.windowHandle(), Qt::Key_Tab);
    QCOMPARE(rig.form.focusWidget(), rig.list());

    QList<int> focusAfterList;
    bool listFocused = false;
    for (const AccessibilityLog::Event &event : std::as_const(log->events)) {
        if (event.object != rig.list() || event.type != QAccessible::Focus)
            continue;
        if (listFocused)
            focusAfterList << event.child;
        listFocused = listFocused || event.child < 0;
    }
    QVERIFY(listFocused);
    const bool itemSays = row >= 0 && QLibraryInfo::version() < QVersionNumber(6, 5);
    QCOMPARE(focusAfterList, itemSays ? QList<int>{row} : QList<int>{});
}

void Form1AccessibilityTest::valuesReadWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("no points") << "0";
    QTest::newRow("squares") << "20";
    QTest::newRow("time") << "14.26592";
    QTest::newRow("percent") << "0.00%";
}

// A screen reader reads a box's text run by run of its attributes; the runs must cover it all.
void Form1AccessibilityTest::valuesReadWhole()
{
    QFETCH(QString, value);
    VirtualWindowRig rig;
    rig.box("txtSquares")->setText(value);
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(rig.box("txtSquares"))->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), value.size());
    QString read;
    for (int offset = 0; offset < text->characterCount();) {
        int start = -1;
        int end = -1;
        text->attributes(offset, &start, &end);
        QVERIFY2(start <= offset && offset < end && end <= text->characterCount(),
            qPrintable(QStringLiteral("offset %1: run %2 to %3").arg(offset).arg(start).arg(end)));
        read += text->text(offset, end);
        offset = end;
    }
    QCOMPARE(read, value);
}

void Form1AccessibilityTest::accessibleNames_data()
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

void Form1AccessibilityTest::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    VirtualWindowRig rig;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(rig.control(qPrintable(name)));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
}

QTEST_MAIN(Form1AccessibilityTest)
#include "Form1AccessibilityTest.moc"
