// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "PlatformChoice.h"

#include <QLibraryInfo>
#include <QTest>

using namespace vantoke;

class PlatformChoiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preferredPlatform_data();
    void preferredPlatform();
};

void PlatformChoiceTest::preferredPlatform_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("qt");
    QTest::addColumn<QByteArray>("platform");
    const QStringList both{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"};
    const QStringList none;
    const QByteArray throughX("xcb;wayland");
    const QByteArray qtChooses;
    QTest::newRow("Wayland and XWayland, Qt 6.4") << both << none << "6.4.2" << throughX;
    QTest::newRow("Wayland and XWayland, Qt 6.7") << both << none << "6.7.3" << throughX;
    QTest::newRow("Wayland and XWayland, Qt 6.8") << both << none << "6.8.2" << qtChooses;
    QTest::newRow("Wayland without X") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << none << "6.4.2" << qtChooses;
    QTest::newRow("X alone") << QStringList{"DISPLAY=:0"} << none << "6.4.2" << qtChooses;
    QTest::newRow("the player's QT_QPA_PLATFORM")
        << both + QStringList{"QT_QPA_PLATFORM=wayland"} << none << "6.4.2" << qtChooses;
    QTest::newRow("-platform") << both << QStringList{"-platform", "wayland"} << "6.4.2" << qtChooses;
    QTest::newRow("--platform") << both << QStringList{"--platform", "wayland"} << "6.4.2" << qtChooses;
    QTest::newRow("no title bars") << both + QStringList{"QT_WAYLAND_DISABLE_WINDOWDECORATION=1"} << none << "6.4.2"
                                   << qtChooses;
    QTest::newRow("the player's frame timeout")
        << both + QStringList{"QT_WAYLAND_FRAME_CALLBACK_TIMEOUT=100"} << none << "6.4.2" << throughX;
}

void PlatformChoiceTest::preferredPlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QString, qt);
    QFETCH(QByteArray, platform);
    // The row's session, in this process's environment, as the program would start in it.
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "QT_WAYLAND_DISABLE_WINDOWDECORATION",
             "QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"})
        qunsetenv(name);
    for (const QString &variable : environment)
        qputenv(
            qPrintable(variable.section(QLatin1Char('='), 0, 0)), variable.section(QLatin1Char('='), 1).toLocal8Bit());
    const QProcessEnvironment session = QProcessEnvironment::systemEnvironment();
    QCOMPARE(vantoke::preferredPlatform(arguments, session, QVersionNumber::fromString(qt)), platform);

    // Where the row's Qt is as old as this one: the choice made, and Qt's Wayland frame watchdog
    // off unless the player set it.
    if (QVersionNumber::fromString(qt).segments().first(2) != QLibraryInfo::version().segments().first(2))
        return;
    QByteArrayList words{"vantoke"};
    QList<char *> argv{words.first().data()};
    for (const QString &argument : arguments)
        argv << words.emplace_back(argument.toLocal8Bit()).data();
    vantoke::choosePlatform(static_cast<int>(argv.size()), argv.data());
    QCOMPARE(
        qgetenv("QT_QPA_PLATFORM"), platform.isEmpty() ? session.value("QT_QPA_PLATFORM").toLocal8Bit() : platform);
    QCOMPARE(qgetenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"),
        session.value("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0").toLocal8Bit());
}

QTEST_MAIN(PlatformChoiceTest)
#include "PlatformChoiceTest.moc"
