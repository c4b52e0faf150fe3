// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "QtRuntime.h"
#include "Game.h"
#include "RecordingSurface.h"

#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <ctime>

using namespace vantoke;

namespace {

#ifdef Q_OS_WIN
// Wine's waitable timers keep to whole milliseconds, where Windows' high-resolution ones do not.
constexpr double kLeastOverrunLimit = 0.002;
#else
constexpr double kLeastOverrunLimit = 0.0005;
#endif

// Seconds this thread has spent on a processor or waiting for one: all but its sleep. Load can
// make it wait longer, but not make a thread that never sleeps look asleep. Where the system does
// not tell, the process's CPU time (MinGW's runtime gives it on Windows too).
double awakeSeconds()
{
    QFile schedstat(QStringLiteral("/proc/thread-self/schedstat"));
    if (schedstat.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> nanoseconds = schedstat.readAll().split(' ');
        return (nanoseconds.at(0).toDouble() + nanoseconds.at(1).toDouble()) * 1e-9;
    }
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

} // namespace

class QtRuntimeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomStaysInUnitRange();
    void rawDrawExtremes_data();
    void rawDrawExtremes();
    void seeds();
    void clockIsMonotonicAndFine();
    void pauseEndsOnTimeAndSleeps_data();
    void pauseEndsOnTimeAndSleeps();
    void pauseHandlesEvents_data();
    void pauseHandlesEvents();
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

// Seeds from the clock differ between runs; a fixed seed repeats its run.
void QtRuntimeTest::seeds()
{
    const auto draws = [](QtRuntime &runtime) {
        QList<float> result;
        for (int draw = 0; draw < 8; ++draw)
            result.append(runtime.random());
        return result;
    };
    QtRuntime first;
    first.seed();
    QTest::qWait(2);
    QtRuntime second;
    second.seed();
    QVERIFY(draws(first) != draws(second));
    first.seedWith(7);
    second.seedWith(7);
    QCOMPARE(draws(first), draws(second));
}

void QtRuntimeTest::clockIsMonotonicAndFine()
{
    QtRuntime runtime;
    double previous = runtime.clock();
    QVERIFY(previous < 60.0); // it counts from its construction, so it never nears a wrap
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

void QtRuntimeTest::pauseEndsOnTimeAndSleeps_data()
{
    QTest::addColumn<int>("pauses");
    QTest::addColumn<double>("duration");
    // Off the millisecond grid, as a pause resumed after an event is: a wake in whole
    // milliseconds, as Qt's timers give, rounded up would end each pause 0.7 ms late.
    QTest::newRow("20 pauses of 20.3 ms") << 20 << 0.0203;
    QTest::newRow("10 pauses of 50.3 ms") << 10 << 0.0503;
}

// Load can only make a pause end later and keep its thread awake longer, so the pause that fared
// best shows what the pause can do: it ended within 0.5 ms of its deadline (2 ms under Wine), and
// its thread was asleep for nine tenths of it. The medians are the benchmark's.
void QtRuntimeTest::pauseEndsOnTimeAndSleeps()
{
    QFETCH(int, pauses);
    QFETCH(double, duration);
    QtRuntime runtime;
    RecordingSurface surface;
    Game game(runtime, surface);
    // As in a game, each pause measured comes after an earlier pause's wake has fired.
    game.timeOut(duration);
    double leastOverrun = duration;
    double leastAwake = duration;
    for (int pause = 0; pause < pauses; ++pause) {
        const double awakeAtStart = awakeSeconds();
        const double start = runtime.clock();
        game.timeOut(duration);
        leastOverrun = std::min(leastOverrun, runtime.clock() - start - duration);
        leastAwake = std::min(leastAwake, awakeSeconds() - awakeAtStart);
    }
    QVERIFY2(leastOverrun < kLeastOverrunLimit,
        qPrintable(QStringLiteral("least overrun %1 ms").arg(leastOverrun * 1000.0)));
    QVERIFY2(leastAwake < duration / 10.0,
        qPrintable(QStringLiteral("awake for %1% of the pause at least").arg(leastAwake / duration * 100.0)));
}

void QtRuntimeTest::pauseHandlesEvents_data()
{
    QTest::addColumn<int>("eventAfterMs");
    QTest::addColumn<bool>("stops");
    QTest::newRow("an event, nested") << 20 << false;
    // A zero timer is handled in the pump's first pass, before any sleep.
    QTest::newRow("a stop before the sleep") << 0 << true;
    QTest::newRow("a stop during the sleep") << 10 << true;
}

// A pause handles events inside it and lasts its 0.2 s, or ends at once when one stops the game.
void QtRuntimeTest::pauseHandlesEvents()
{
    QFETCH(int, eventAfterMs);
    QFETCH(bool, stops);
    QtRuntime runtime;
    RecordingSurface surface;
    Game game(runtime, surface);
    double handledAt = -1.0;
    QTimer::singleShot(eventAfterMs, [&] {
        handledAt = runtime.clock();
        if (stops)
            game.stop();
    });
    const double start = runtime.clock();
    game.timeOut(stops ? 5.0 : 0.2);
    const double end = runtime.clock();
    QVERIFY(handledAt > start);
    QVERIFY(handledAt < end);
    QVERIFY(stops ? end - start < 2.0 : end - start >= 0.2);
}

QTEST_GUILESS_MAIN(QtRuntimeTest)
#include "QtRuntimeTest.moc"
