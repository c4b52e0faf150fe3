#include "WindowRig.h"

#include <QAccessible>
#include <QAccessibleBridge>
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

// What the window tells assistive technology: the focus order, and the names and events a
// screen reader hears.
class Form1AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabOrderAndInitialFocus();
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
