#include "QtRuntime.h"
#include "Game.h"
#include "RecordingSurface.h"

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace vantoke;

class QtRuntimeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomStaysInUnitRange();
    void rawDrawExtremes_data();
    void rawDrawExtremes();
    void seedFromClockDiffersBetweenRuns();
    void clockIsMonotonicAndFine();
    void pauseHandlesEventsNestedAndLastsItsDuration();
    void stopEndsPauseAtOnce_data();
    void stopEndsPauseAtOnce();
};

void QtRuntimeTest::randomStaysInUnitRange()
{
    QtRuntime runtime;
    runtime.seedWith(20261207);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int draw = 0; draw < 2'000'000; ++draw) {
        const float value = runtime.random();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    QVERIFY(lowest >= 0.0f);
    QVERIFY(highest < 1.0f);
    // The draws spread over the whole range.
    QVERIFY(lowest < 1e-5f);
    QVERIFY(highest > 1.0f - 1e-5f);
}

void QtRuntimeTest::rawDrawExtremes_data()
{
    QTest::addColumn<quint32>("raw");
    QTest::addColumn<float>("unit");
    QTest::newRow("zero") << 0u << 0.0f;
    QTest::newRow("smallest that shows") << 0x100u << 0x1p-24f;
    QTest::newRow("half") << 0x8000'0000u << 0.5f;
    QTest::newRow("largest") << 0xffff'ffffu << std::nextafter(1.0f, 0.0f);
}

void QtRuntimeTest::rawDrawExtremes()
{
    QFETCH(quint32, raw);
    QFETCH(float, unit);
    QCOMPARE(QtRuntime::unitFromRaw(raw), unit);
    QVERIFY(QtRuntime::unitFromRaw(raw) < 1.0f);
}

void QtRuntimeTest::seedFromClockDiffersBetweenRuns()
{
    QtRuntime first;
    first.seed();
    QTest::qWait(2);
    QtRuntime second;
    second.seed();
    QList<float> a;
    QList<float> b;
    for (int draw = 0; draw < 8; ++draw) {
        a.append(first.random());
        b.append(second.random());
    }
    QVERIFY(a != b);
}

void QtRuntimeTest::clockIsMonotonicAndFine()
{
    QtRuntime runtime;
    double previous = runtime.clock();
    double finestStep = 1.0;
    for (int reading = 0; reading < 100'000; ++reading) {
        const double now = runtime.clock();
        QVERIFY(now >= previous);
        if (now > previous)
            finestStep = std::min(finestStep, now - previous);
        previous = now;
    }
    QVERIFY2(finestStep < 1e-3, qPrintable(QString::number(finestStep)));
}

void QtRuntimeTest::pauseHandlesEventsNestedAndLastsItsDuration()
{
    QtRuntime runtime;
    RecordingSurface surface;
    Game game(runtime, surface);
    double handledAt = -1.0;
    QTimer::singleShot(20, [&] { handledAt = runtime.clock(); });
    const double start = runtime.clock();
    game.timeOut(0.2);
    const double end = runtime.clock();
    QVERIFY(end - start >= 0.2);
    QVERIFY(handledAt > start);
    QVERIFY(handledAt < end);
}

void QtRuntimeTest::stopEndsPauseAtOnce_data()
{
    QTest::addColumn<int>("stopAfterMs");
    // A zero timer is handled in the pump's first pass, before any sleep.
    QTest::newRow("before the sleep") << 0;
    QTest::newRow("during the sleep") << 10;
}

void QtRuntimeTest::stopEndsPauseAtOnce()
{
    QFETCH(int, stopAfterMs);
    QtRuntime runtime;
    RecordingSurface surface;
    Game game(runtime, surface);
    QTimer::singleShot(stopAfterMs, [&game] { game.stop(); });
    const double start = runtime.clock();
    game.timeOut(5.0);
    QVERIFY(runtime.clock() - start < 2.0);
}

QTEST_GUILESS_MAIN(QtRuntimeTest)
#include "QtRuntimeTest.moc"
