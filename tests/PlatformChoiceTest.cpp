#include "PlatformChoice.h"

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
    const QByteArray throughX("xcb;wayland");
    QTest::newRow("Wayland and XWayland, Qt 6.4") << both << QStringList() << "6.4.2" << throughX;
    QTest::newRow("Wayland and XWayland, Qt 6.7") << both << QStringList() << "6.7.3" << throughX;
    QTest::newRow("Wayland and XWayland, Qt 6.8") << both << QStringList() << "6.8.2" << QByteArray();
    QTest::newRow("Wayland without X") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << QStringList() << "6.4.2"
                                       << QByteArray();
    QTest::newRow("X alone") << QStringList{"DISPLAY=:0"} << QStringList() << "6.4.2" << QByteArray();
    QTest::newRow("the player's QT_QPA_PLATFORM")
        << both + QStringList{"QT_QPA_PLATFORM=wayland"} << QStringList() << "6.4.2" << QByteArray();
    QTest::newRow("-platform") << both << QStringList{"-platform", "wayland"} << "6.4.2" << QByteArray();
    QTest::newRow("--platform") << both << QStringList{"--platform", "wayland"} << "6.4.2" << QByteArray();
    QTest::newRow("no title bars asked for")
        << both + QStringList{"QT_WAYLAND_DISABLE_WINDOWDECORATION=1"} << QStringList() << "6.4.2" << QByteArray();
}

void PlatformChoiceTest::preferredPlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QString, qt);
    QFETCH(QByteArray, platform);
    QProcessEnvironment variables;
    for (const QString &variable : environment)
        variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    QCOMPARE(vantoke::preferredPlatform(arguments, variables, QVersionNumber::fromString(qt)), platform);
}

QTEST_MAIN(PlatformChoiceTest)
#include "PlatformChoiceTest.moc"
