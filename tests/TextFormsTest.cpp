// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
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
    void texts_data();
    void texts();
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
    // The test command makes it where it is missing; a build root gets it from locales-all.
    const char *german = "de_DE.UTF-8";
#endif
    QVERIFY2(std::setlocale(LC_ALL, german),
        qPrintable(QStringLiteral("no locale %1 here (on Debian, locales-all has it)").arg(german)));
    QCOMPARE(std::localeconv()->decimal_point, ",");
}

// Each text is made here, after initTestCase() set the German locale.
void TextFormsTest::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer zero") << integerText(0) << "0";
    QTest::newRow("integer seventeen") << integerText(17) << "17";
    QTest::newRow("integer past 16 bits") << integerText(32768) << "32768";
    QTest::newRow("integer without group separator") << integerText(1234567) << "1234567";
    QTest::newRow("integer largest") << integerText(std::numeric_limits<std::int32_t>::max()) << "2147483647";
    QTest::newRow("single seven digits") << singleText(14.2578125f) << "14.25781";
    QTest::newRow("single half") << singleText(0.5f) << "0.5";
    QTest::newRow("single whole") << singleText(1.0f) << "1";
    QTest::newRow("single zero") << singleText(0.0f) << "0";
    QTest::newRow("single threshold") << singleText(14.25f) << "14.25";
    QTest::newRow("single just past 15") << singleText(15.000123f) << "15.00012";
    QTest::newRow("single rounds at the seventh digit") << singleText(2.71828182f) << "2.718282";
    QTest::newRow("single largest below 1") << singleText(0.99999994f) << "0.9999999";
    QTest::newRow("single small") << singleText(0.0012345f) << "0.0012345";
    QTest::newRow("single tiny uses exponent") << singleText(1.5e-5f) << "1.5E-05";
    QTest::newRow("percent half") << percentText(0.5) << "50.00%";
    QTest::newRow("percent third") << percentText(1.0 / 3.0) << "33.33%";
    QTest::newRow("percent two thirds") << percentText(2.0 / 3.0) << "66.67%";
    QTest::newRow("percent none") << percentText(0.0) << "0.00%";
    QTest::newRow("percent all") << percentText(1.0) << "100.00%";
    QTest::newRow("percent one in many") << percentText(1.0 / 40000.0) << "0.00%";
    QTest::newRow("integer part below 0") << QString::number(integerPart(-0.5)) << "-1";
}

void TextFormsTest::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

QTEST_GUILESS_MAIN(TextFormsTest)
#include "TextFormsTest.moc"
