#include "TextForms.h"

#include <QLocale>
#include <QTest>
#include <clocale>
#include <limits>

using namespace vantoke::TextForms;

class TextFormsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void integers_data();
    void integers();
    void singles_data();
    void singles();
    void percents_data();
    void percents();
};

// Every text below must come out the same with a comma locale in force, as Qt applications
// adopt the environment's locale at start-up.
void TextFormsTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
#ifdef Q_OS_WIN
    const char *german = "German_Germany.1252";
#else
    // The test command makes it where it is missing (localedef -i de_DE -f UTF-8 de_DE.UTF-8).
    const char *german = "de_DE.UTF-8";
#endif
    QVERIFY2(std::setlocale(LC_ALL, german), german);
    QCOMPARE(std::localeconv()->decimal_point, ",");
}

void TextFormsTest::integers_data()
{
    QTest::addColumn<std::int32_t>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("seventeen") << 17 << "17";
    QTest::newRow("past 16 bits") << 32768 << "32768";
    QTest::newRow("no group separator") << 1234567 << "1234567";
    QTest::newRow("largest") << std::numeric_limits<std::int32_t>::max() << "2147483647";
}

void TextFormsTest::integers()
{
    QFETCH(std::int32_t, value);
    QFETCH(QString, text);
    QCOMPARE(integerText(value), text);
}

void TextFormsTest::singles_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("seven digits") << 14.2578125f << "14.25781";
    QTest::newRow("half") << 0.5f << "0.5";
    QTest::newRow("whole") << 1.0f << "1";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("threshold") << 14.25f << "14.25";
    QTest::newRow("just past 15") << 15.000123f << "15.00012";
    QTest::newRow("rounds at the seventh digit") << 2.71828182f << "2.718282";
    QTest::newRow("largest below 1") << 0.99999994f << "0.9999999";
    QTest::newRow("small") << 0.0012345f << "0.0012345";
    QTest::newRow("tiny uses exponent") << 1.5e-5f << "1.5E-05";
}

void TextFormsTest::singles()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(singleText(value), text);
}

void TextFormsTest::percents_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("half") << 0.5 << "50.00%";
    QTest::newRow("third") << 1.0 / 3.0 << "33.33%";
    QTest::newRow("two thirds") << 2.0 / 3.0 << "66.67%";
    QTest::newRow("none") << 0.0 << "0.00%";
    QTest::newRow("all") << 1.0 << "100.00%";
    QTest::newRow("one in many") << 1.0 / 40000.0 << "0.00%";
}

void TextFormsTest::percents()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(percentText(value), text);
}

QTEST_GUILESS_MAIN(TextFormsTest)
#include "TextFormsTest.moc"
