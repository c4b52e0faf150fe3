#include "WindowRig.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace vantoke;

// The window's look: its size and colour, each control's class, place, colour and caption, and
// the state it starts in.
class Form1LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void window();
    void controls_data();
    void controls();
    void initialState();
    void listShowsEveryItemWhole();
};

void Form1LayoutTest::window()
{
    VirtualWindowRig rig;
    QCOMPARE(rig.form.windowTitle(), QStringLiteral("Vantoke"));
    QCOMPARE(rig.form.size(), QSize(592, 566));
    QVERIFY(rig.form.autoFillBackground());
    QCOMPARE(rig.form.palette().color(QPalette::Window), QColor(0, 192, 192));
    // Resizable, with the controls left where they were.
    rig.form.resize(800, 700);
    QCOMPARE(rig.control("cmdStart")->geometry(), QRect(264, 192, 57, 33));
}

void Form1LayoutTest::controls_data()
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

void Form1LayoutTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QColor, background);
    QFETCH(QString, caption);
    VirtualWindowRig rig;
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

void Form1LayoutTest::initialState()
{
    VirtualWindowRig rig;
    for (int square = 1; square <= 6; ++square)
        QVERIFY(rig.control(qPrintable(QStringLiteral("pct%1").arg(square)))->isHidden());
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"}) {
        QVERIFY(rig.box(name)->text().isEmpty());
        QVERIFY(!rig.box(name)->isReadOnly());
    }
    QVERIFY(rig.list()->selectedItems().isEmpty());
    QCOMPARE(rig.form.difficultyText(), QString());
    auto *start = rig.control<QPushButton>("cmdStart");
    QVERIFY(start->isEnabled());
    QVERIFY(!start->isDefault());
    QVERIFY(!start->autoDefault());
    QCOMPARE(rig.runtime.seedCount(), 1);
}

void Form1LayoutTest::listShowsEveryItemWhole()
{
    VirtualWindowRig rig;
    auto *list = rig.list();
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

QTEST_MAIN(Form1LayoutTest)
#include "Form1LayoutTest.moc"
