// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
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
    // The game's refreshPercent() paints the Percent box at once, before any event is handled: as
    // a box paints, it scrolls a text too long for it so that the cursor after the text shows.
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    QLineEdit *percent = rig.box("txtPercent");
    percent->setText(QString(40, u'9'));
    rig.form.refreshPercent();
    QVERIFY(percent->rect().contains(percent->inputMethodQuery(Qt::ImCursorRectangle).toRect().center()));
}

void Form1LayoutTest::controls_data()
{
    QTest::addColumn<QString>("className"); // of the control the row names
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("background");
    // What must show whole: a button's or label's caption, a list's items separated by '|', the
    // widest text the game writes into a box.
    QTest::addColumn<QString>("text");
    const QColor red(255, 0, 0);
    const QColor none;
    // Twips divided by 15.
    QTest::newRow("pct1") << "vantoke::Square" << QRect(136, 296, 73, 73) << red << "";
    QTest::newRow("pct2") << "vantoke::Square" << QRect(256, 296, 73, 73) << red << "";
    QTest::newRow("pct3") << "vantoke::Square" << QRect(376, 296, 73, 73) << red << "";
    QTest::newRow("cmdStart") << "vantoke::CommandButton" << QRect(264, 192, 57, 33) << QColor(192, 192, 192)
                              << "Start";
    QTest::newRow("txtTime") << "vantoke::DisplayBox" << QRect(408, 96, 49, 41) << none << "14.25781";
    QTest::newRow("txtPoints") << "vantoke::DisplayBox" << QRect(128, 96, 49, 41) << none << "";
    QTest::newRow("pct4") << "vantoke::Square" << QRect(136, 416, 73, 73) << red << "";
    QTest::newRow("pct5") << "vantoke::Square" << QRect(256, 416, 73, 73) << red << "";
    QTest::newRow("pct6") << "vantoke::Square" << QRect(376, 416, 73, 73) << red << "";
    QTest::newRow("lbl1") << "QLabel" << QRect(136, 72, 33, 17) << red << "Points";
    QTest::newRow("lbl2") << "QLabel" << QRect(400, 72, 65, 17) << red << "Time Elapsed";
    QTest::newRow("lst1") << "vantoke::ChoiceList" << QRect(264, 72, 57, 43) << none << "Medium|Hard|Insane";
    QTest::newRow("lbl3") << "QLabel" << QRect(264, 48, 57, 17) << red << "Difficulty";
    QTest::newRow("txtPercent") << "vantoke::DisplayBox" << QRect(56, 184, 57, 41) << none << "100.00%";
    QTest::newRow("txtSquares") << "vantoke::DisplayBox" << QRect(472, 184, 57, 41) << none << "";
    QTest::newRow("lbl4") << "QLabel" << QRect(56, 160, 57, 17) << red << "Percent Hit";
    QTest::newRow("lbl5") << "QLabel" << QRect(472, 160, 57, 17) << red << "Squares";
}

void Form1LayoutTest::controls()
{
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QColor, background);
    QFETCH(QString, text);
    VirtualWindowRig rig;
    QWidget *widget = rig.control(QTest::currentDataTag());
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
        QCOMPARE(button->text(), text);
    if (className == QLatin1String("vantoke::Square")) // a sunken panel
        QVERIFY(qobject_cast<QFrame *>(widget)->frameStyle() == (QFrame::Panel | QFrame::Sunken));
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width());
    }
    // A box scrolls a text it cannot show whole, as it paints, so that the cursor after it shows.
    if (auto *box = qobject_cast<QLineEdit *>(widget); box && !text.isEmpty()) {
        QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
        const int start = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
        box->setText(text);
        box->repaint();
        QCOMPARE(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() - start,
            box->fontMetrics().horizontalAdvance(text));
    }
    // Every item shows whole and at once.
    if (auto *list = qobject_cast<QListWidget *>(widget)) {
        QStringList items;
        for (int row = 0; row < list->count(); ++row) {
            items << list->item(row)->text();
            const QRect item = list->visualItemRect(list->item(row));
            QVERIFY(list->viewport()->rect().contains(item));
            QVERIFY(list->fontMetrics().horizontalAdvance(items.last()) < item.width());
            QVERIFY(list->fontMetrics().height() <= item.height());
        }
        QCOMPARE(items.join(QLatin1Char('|')), text);
        QCOMPARE(list->verticalScrollBar()->maximum(), 0);
        QVERIFY(!list->verticalScrollBar()->isVisible());
    }
}

void Form1LayoutTest::initialState()
{
    VirtualWindowRig rig;
    for (int square = 1; square <= 6; ++square)
        QVERIFY(rig.control(qPrintable(QStringLiteral("pct%1").arg(square)))->isHidden());
    for (const char *name : {"txtPoints", "txtTime", "txtSquares", "txtPercent"})
        QVERIFY2(rig.box(name)->text().isEmpty() && !rig.box(name)->isReadOnly(), name);
    QVERIFY(rig.list()->selectedItems().isEmpty());
    QCOMPARE(rig.form.difficultyText(), QString());
    auto *start = rig.control<QPushButton>("cmdStart");
    QVERIFY(start->isEnabled() && !start->isDefault() && !start->autoDefault());
    QCOMPARE(rig.runtime.seedCount(), 1);
}

QTEST_MAIN(Form1LayoutTest)
#include "Form1LayoutTest.moc"
