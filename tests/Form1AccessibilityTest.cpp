// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "WindowRig.h"

#include <QAccessible>
#include <QAccessibleBridge>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <tuple>

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
};

// An edit through a box's accessible interface.
enum Edit { NoEdit, Insert, Delete, Replace, SetValue };

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
    void tabOrderAndInitialFocus_data();
    void tabOrderAndInitialFocus();
    void valuesReadWhole_data();
    void valuesReadWhole();
    void accessibleNames_data();
    void accessibleNames();
};

void Form1AccessibilityTest::tabOrderAndInitialFocus_data()
{
    QTest::addColumn<int>("chosen"); // the difficulty's row in the list, -1 for none
    QTest::newRow("nothing chosen") << -1;
    QTest::newRow("Medium") << 0;
    QTest::newRow("Insane") << 2;
}

// Checked on the window's own focus, which the window system hands to the keyboard once the
// window is active; a compositor with no seat never makes it active.
void Form1AccessibilityTest::tabOrderAndInitialFocus()
{
    QFETCH(int, chosen);
    VirtualWindowRig rig;
    QCOMPARE(rig.form.focusWidget(), rig.control("cmdStart"));
    // The list's focus frame is checked where the window can be active.
    const bool active = WindowRig::activates();
    if (active)
        QVERIFY(rig.activate());

    if (chosen >= 0)
        rig.chooseDifficulty(chosen);
    const QString difficulty = chosen < 0 ? QString() : rig.list()->item(chosen)->text();
    for (int square = 1; square <= 6; ++square)
        rig.form.setSquareVisible(square, true);
    const QStringList expected{"pct1", "pct2", "pct3", "cmdStart", "txtTime", "txtPoints", "pct4", "pct5", "pct6",
        "lst1", "txtPercent", "txtSquares"};
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
        rig.box(name)->setText(QStringLiteral("12"));
    rig.control("pct1")->setFocus();
    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    AccessibilityLog *log = offscreen ? AccessibilityLog::instance : nullptr;
    QVERIFY(log || !offscreen);
    // The selections a screen reader is told of: how many, and the first's start and end.
    auto toldSelection = [](QWidget *box) {
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(box)->textInterface();
        std::tuple<int, int, int> told{text->selectionCount(), -1, -1};
        text->selection(0, &std::get<1>(told), &std::get<2>(told));
        return told;
    };
    // Round the window with Tab, then back with Shift+Tab.
    for (const bool forward : {true, false}) {
        QStringList chain;
        for (int step = 0; step < expected.size(); ++step) {
            QWidget *left = rig.form.focusWidget();
            chain << left->objectName();
            if (log)
                log->events.clear();
            QTest::keyClick(rig.form.windowHandle(), forward ? Qt::Key_Tab : Qt::Key_Backtab,
                forward ? Qt::NoModifier : Qt::ShiftModifier);
            // A screen reader takes the first event about a control as where the focus went; any
            // other, such as a box's select-all on Tab, would hide the focus it announces.
            if (log) {
                const auto first
                    = std::ranges::find(log->events, rig.form.focusWidget(), &AccessibilityLog::Event::object);
                const QString type
                    = first == log->events.end() ? QStringLiteral("none") : QString::number(first->type, 16);
                QVERIFY2(type == QString::number(QAccessible::Focus, 16),
                    qPrintable(rig.form.focusWidget()->objectName() + QStringLiteral(": first ") + type));
            }
            // Tab into a box selects its text, once the focus is announced.
            if (auto *box = qobject_cast<QLineEdit *>(rig.form.focusWidget()); box && active)
                QCOMPARE(box->selectedText(), QStringLiteral("12"));
            // A box the focus leaves keeps its selection, hidden, so a screen reader hears of no
            // change ("Text unselected").
            if (auto *box = qobject_cast<QLineEdit *>(left); box && active) {
                QVERIFY(!box->hasSelectedText());
                QCOMPARE(toldSelection(box), std::tuple(1, 0, 2));
            }
            // Tab into the list with nothing chosen puts its focus frame on the first item without
            // choosing it. Only an active window's list gets the focus-in that places the frame.
            if (auto *list = qobject_cast<QListWidget *>(rig.form.focusWidget())) {
                if (active && chosen < 0)
                    QCOMPARE(list->currentRow(), 0);
                QCOMPARE(rig.form.difficultyText(), difficulty);
                // The list's own focus comes first, then, on a Qt that offers no list's selection
                // to a screen reader, the chosen item's focus, which says the choice.
                QList<int> focusAfterList;
                bool listFocused = false;
                for (const AccessibilityLog::Event &event : log ? log->events : QList<AccessibilityLog::Event>()) {
                    if (event.object != list || event.type != QAccessible::Focus)
                        continue;
                    if (listFocused)
                        focusAfterList << event.child;
                    listFocused = listFocused || event.child < 0;
                }
                QVERIFY(listFocused || !log);
                const bool itemSays = log && chosen >= 0 && QLibraryInfo::version() < QVersionNumber(6, 5);
                QCOMPARE(focusAfterList, itemSays ? QList<int>{chosen} : QList<int>{});
            }
        }
        if (!forward)
            std::reverse(chain.begin() + 1, chain.end());
        QCOMPARE(chain, expected);
        QCOMPARE(rig.form.focusWidget()->objectName(), QStringLiteral("pct1"));
    }
    // A click into a box, which places the cursor, ends the kept selection.
    rig.click(rig.box("txtTime"));
    QCOMPARE(toldSelection(rig.box("txtTime")), std::tuple(0, 0, 0));
    // New text ends the kept selection.
    rig.box("txtPoints")->setText(QStringLiteral("3"));
    QCOMPARE(toldSelection(rig.box("txtPoints")), std::tuple(0, 0, 0));
}

void Form1AccessibilityTest::valuesReadWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("read");
    QTest::newRow("no points") << "0" << NoEdit << false << "0";
    QTest::newRow("squares") << "20" << NoEdit << false << "20";
    QTest::newRow("time") << "14.26592" << NoEdit << false << "14.26592";
    QTest::newRow("percent") << "0.00%" << NoEdit << false << "0.00%";
    // Until the game locks it a box takes edits, as it takes typing; then it refuses them.
    for (const bool locked : {false, true}) {
        const char *lock = locked ? ", locked" : "";
        QTest::addRow("insert%s", lock) << "0.00%" << Insert << locked << (locked ? "0.00%" : "990.00%");
        QTest::addRow("delete%s", lock) << "14.26592" << Delete << locked << (locked ? "14.26592" : "146592");
        QTest::addRow("replace%s", lock) << "0.00%" << Replace << locked << (locked ? "0.00%" : "0120%");
        QTest::addRow("set value%s", lock) << "0" << SetValue << locked << (locked ? "0" : "12345");
    }
}

// A screen reader reads a box's text run by run of its attributes; the runs must cover it all.
void Form1AccessibilityTest::valuesReadWhole()
{
    QFETCH(QString, value);
    QFETCH(Edit, edit);
    QFETCH(bool, locked);
    QFETCH(QString, read);
    VirtualWindowRig rig;
    QLineEdit *box = rig.box("txtSquares");
    box->setText(value);
    if (locked)
        rig.form.lockDisplay(vantoke::Display::Squares);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box);
    QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
    QVERIFY(editable);
    if (edit == Insert)
        editable->insertText(0, QStringLiteral("99"));
    else if (edit == Delete)
        editable->deleteText(2, 4);
    else if (edit == Replace)
        editable->replaceText(1, 3, QStringLiteral("12"));
    else if (edit == SetValue)
        accessible->setText(QAccessible::Value, QStringLiteral("12345"));
    QCOMPARE(box->text(), read);
    QCOMPARE(accessible->text(QAccessible::Value), read);
    QCOMPARE(accessible->textInterface()->cursorPosition(), box->cursorPosition());
    QVERIFY(accessible->state().editable && accessible->state().selectableText);
    QCOMPARE(bool(accessible->state().readOnly), locked);

    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), read.size());
    QString whole;
    for (int offset = 0; offset < text->characterCount();) {
        int start = -1;
        int end = -1;
        text->attributes(offset, &start, &end);
        QVERIFY2(start <= offset && offset < end && end <= text->characterCount(),
            qPrintable(QStringLiteral("offset %1: run %2 to %3").arg(offset).arg(start).arg(end)));
        whole += text->text(offset, end);
        offset = end;
    }
    QCOMPARE(whole, read);
    // Where each character shows, and none past the end.
    for (int offset = 0; offset < read.size(); ++offset)
        QCOMPARE(text->offsetAtPoint(text->characterRect(offset).topLeft() + QPoint(1, 1)), offset);
    QVERIFY(text->characterRect(read.size()).isEmpty());
}

void Form1AccessibilityTest::accessibleNames_data()
{
    QTest::addColumn<QString>("accessibleName"); // of the control the row names
    // The label a screen reader is told names it, lbl1 to lbl5, or 0; Qt tells of none for a list.
    QTest::addColumn<int>("label");
    QTest::newRow("txtPoints") << "Points" << 1;
    QTest::newRow("txtTime") << "Time Elapsed" << 2;
    QTest::newRow("lst1") << "Difficulty" << 0;
    QTest::newRow("txtPercent") << "Percent Hit" << 4;
    QTest::newRow("txtSquares") << "Squares" << 5;
    QTest::newRow("pct1") << "Square 1" << 0;
    QTest::newRow("pct6") << "Square 6" << 0;
    QTest::newRow("cmdStart") << "Start" << 0;
}

void Form1AccessibilityTest::accessibleNames()
{
    QFETCH(QString, accessibleName);
    QFETCH(int, label);
    VirtualWindowRig rig;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(rig.control(QTest::currentDataTag()));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
    const auto labels = accessible->relations(QAccessible::Label);
    QCOMPARE(labels.isEmpty() ? QString() : labels.first().first->object()->objectName(),
        label ? QStringLiteral("lbl%1").arg(label) : QString());
}

QTEST_MAIN(Form1AccessibilityTest)
#include "Form1AccessibilityTest.moc"
