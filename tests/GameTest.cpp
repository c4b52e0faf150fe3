// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Game.h"
#include "RecordingSurface.h"
#include "VirtualRuntime.h"

#include <QTest>
#include <cmath>

using namespace vantoke;

namespace {

// A game on a virtual clock and a recording surface. Waits show in the surface's log, so the
// log reads as the whole story of a game.
struct Rig
{
    VirtualRuntime runtime;
    RecordingSurface surface;
    Game game{runtime, surface};

    explicit Rig(const QString &difficulty = {})
    {
        surface.difficulty = difficulty;
        runtime.setWaitLog(&surface.log);
        runtime.setRandoms({0.5f}); // square 4 every turn
    }
    void clickLit()
    {
        if (const int square = surface.litSquare())
            game.pctClick(square);
    }
};

const QStringList kHideAll{"hide 1", "hide 2", "hide 3", "hide 4", "hide 5", "hide 6"};
const QStringList kFreeze = kHideAll + QStringList{"lock Points", "lock Squares", "lock Time"};
const QStringList kRatio{"Percent=0.00%", "lock Percent"};

// One turn with no hit: square 4 lit, `reads` tests of the difficulty, the turn's pause ending at
// `waitEnd`, the count, the time and the ratio, then `rest`.
QStringList turn(int squares, int reads, const QString &waitEnd, const QString &time, const QStringList &rest)
{
    const QString count = QStringLiteral("Squares=%1").arg(squares);
    return QStringList{"Points=0", count} + kHideAll + QStringList{"show 4"} + QStringList(reads, "difficulty")
        + QStringList{"wait " + waitEnd, count, "Time=" + time, "Percent=0.00%"} + rest;
}

// A closing step: its tests of the difficulty, its pause if one matched, the freeze and the ratio.
QStringList closing(int reads, const QString &waitEnd = {})
{
    return QStringList(reads, "difficulty") + (waitEnd.isEmpty() ? QStringList() : QStringList{"wait " + waitEnd})
        + kFreeze + kRatio;
}

// What a game writes after its last turn.
QStringList ending(int squares)
{
    return {QStringLiteral("Squares=%1").arg(squares), "Percent=0.00%", "refresh"};
}

// The log split into turns; each turn starts where the game writes txtPoints, then txtSquares.
QList<QStringList> turns(const QStringList &log)
{
    QList<QStringList> result;
    for (qsizetype index = 0; index < log.size(); ++index) {
        if (log[index].startsWith(QLatin1String("Points=")) && index + 1 < log.size()
            && log[index + 1].startsWith(QLatin1String("Squares=")))
            result.append(QStringList());
        if (!result.isEmpty())
            result.last().append(log[index]);
    }
    return result;
}

} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeGame_data();
    void wholeGame();
    void randomPicksSquare_data();
    void randomPicksSquare();
    void hitShowsInPercentThenPoints();
    void listClickDuringGame();
    void handlers();
    void nestedStartPlaysOutThenEndsInterruptedGame_data();
    void nestedStartPlaysOutThenEndsInterruptedGame();
    void startAtDepthBoundDoesNothing();
    void stopEndsEveryGameSilently_data();
    void stopEndsEveryGameSilently();
    void noDifficultyGamePassesSixteenBits();
    void gameEndedBeforeFirstTurnShowsZeroPercent();
};

void GameTest::wholeGame_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("turnCount");
    QTest::addColumn<double>("endTime");
    QTest::addColumn<QStringList>("firstTurn");
    QTest::addColumn<QStringList>("closingTurns"); // the log from the first turn that freezes the window
    // Medium and Hard pause again before hiding, so the last square shows for two pauses.
    QTest::newRow("Medium") << "Medium" << 20 << 15.75 << turn(0, 1, "0.75", "0", kRatio)
                            << turn(19, 1, "15", "14.25", closing(1, "15.75") + kRatio) + ending(20);
    QTest::newRow("Hard") << "Hard" << 30 << 15.5 << turn(0, 2, "0.5", "0", kRatio)
                          << turn(29, 2, "15", "14.5", closing(2, "15.5") + closing(1) + kRatio) + ending(30);
    // Insane freezes at 14.25 without a pause, and its last turn starts exactly 15 s in.
    QTest::newRow("Insane") << "Insane" << 60 << 15.5 << turn(0, 3, "0.25", "0", kRatio)
                            << turn(57, 3, "14.5", "14.25", closing(2) + kRatio)
            + turn(58, 3, "14.75", "14.5", closing(2) + closing(1, "15") + kRatio)
            + turn(59, 3, "15.25", "15", closing(2) + closing(1, "15.5") + kRatio) + ending(60);
}

void GameTest::wholeGame()
{
    QFETCH(QString, difficulty);
    QFETCH(int, turnCount);
    QFETCH(double, endTime);
    QFETCH(QStringList, firstTurn);
    QFETCH(QStringList, closingTurns);
    Rig rig(difficulty);
    rig.game.cmdStartClick();
    const QStringList &log = rig.surface.log;
    QCOMPARE(turns(log).size(), turnCount);
    QCOMPARE(rig.game.state().squares, turnCount);
    QCOMPARE(rig.surface.text(Display::Squares), QString::number(turnCount));
    QCOMPARE(rig.runtime.now(), endTime);
    QCOMPARE(rig.game.depth(), 0);
    QCOMPARE(turns(log).first(), firstTurn);
    QCOMPARE(log.mid(log.size() - closingTurns.size()), closingTurns);
    QCOMPARE(rig.surface.locked, (std::array<bool, 4>{true, true, true, true}));
    QVERIFY(rig.runtime.systemPumpTimes().isEmpty()); // the pauses serve the window
}

void GameTest::randomPicksSquare_data()
{
    QTest::addColumn<float>("random");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0.0f << "show 1";
    QTest::newRow("a sixth") << 1.0f / 6.0f << "show 2";
    QTest::newRow("half") << 0.5f << "show 4";
    // The single nearest 5/6 is below it, but times 6 it rounds to 5 in single precision.
    QTest::newRow("five sixths") << 5.0f / 6.0f << "show 6";
    QTest::newRow("largest single below 1") << std::nextafter(1.0f, 0.0f) << "show 6";
}

void GameTest::randomPicksSquare()
{
    QFETCH(float, random);
    QFETCH(QString, shown);
    Rig rig(QStringLiteral("Hard"));
    rig.runtime.setRandoms({random});
    rig.game.cmdStartClick();
    QCOMPARE(turns(rig.surface.log).first().filter(QStringLiteral("show ")), QStringList{shown});
}

void GameTest::hitShowsInPercentThenPoints()
{
    Rig rig(QStringLiteral("Medium"));
    rig.runtime.at(0.3, [&rig] { rig.clickLit(); });
    rig.game.cmdStartClick();
    const QList<QStringList> played = turns(rig.surface.log);
    const QStringList first = played.at(0);
    QCOMPARE(first.mid(first.indexOf(QStringLiteral("show 4"))),
        (QStringList{"show 4", "difficulty", "wait 0.3", "hide 4", "wait 0.75", "Squares=0", "Time=0",
            "Percent=100.00%", "Percent=100.00%", "lock Percent"}));
    QCOMPARE(played.at(1).first(), QStringLiteral("Points=1"));
    QCOMPARE(rig.surface.text(Display::Percent), QStringLiteral("5.00%"));

    // The next game, a year on, starts afresh: no points, no squares, timed from its own start.
    rig.surface.log.clear();
    rig.runtime.setNow(365 * 86400.0 + 0.1);
    rig.game.cmdStartClick();
    QCOMPARE(turns(rig.surface.log).size(), 20);
    QCOMPARE(rig.surface.log.first(2), (QStringList{"Points=0", "Squares=0"}));
    QCOMPARE(rig.surface.text(Display::Time), QStringLiteral("14.25"));
}

void GameTest::listClickDuringGame()
{
    Rig rig(QStringLiteral("Medium"));
    rig.runtime.at(5.0, [&rig] { rig.clickLit(); });
    rig.runtime.at(5.1, [&rig] { rig.game.lst1Click(); });
    // In the last turn's closing pause, after its time was written.
    rig.runtime.at(15.5, [&rig] { rig.game.lst1Click(); });
    rig.game.cmdStartClick();

    const QStringList turn = turns(rig.surface.log).at(6);
    QCOMPARE(turn.mid(turn.indexOf(QStringLiteral("wait 5.1"))),
        (QStringList{"wait 5.1", "Time=0", "Squares=0", "Percent=0", "Points=0", "wait 5.25", "Squares=6", "Time=4.5",
            "Percent=14.29%", "Percent=14.29%", "lock Percent"}));
    // Counting went on: the hit still counts, and the final count is whole.
    QCOMPARE(rig.game.state().points, 1);
    QCOMPARE(rig.surface.text(Display::Squares), QStringLiteral("20"));
    QCOMPARE(rig.surface.text(Display::Points), QStringLiteral("0"));
    QCOMPARE(rig.surface.text(Display::Time), QStringLiteral("0"));
    QCOMPARE(rig.surface.text(Display::Percent), QStringLiteral("5.00%"));
}

void GameTest::handlers()
{
    Rig rig;
    rig.game.formLoad();
    QCOMPARE(rig.runtime.seedCount(), 1);
    QCOMPARE(rig.surface.log, kHideAll);

    rig.surface.log.clear();
    rig.game.pctClick(2);
    rig.game.pctClick(5);
    QCOMPARE(rig.game.state().points, 2);
    QCOMPARE(rig.surface.log, (QStringList{"hide 2", "hide 5"}));

    rig.surface.log.clear();
    rig.game.lst1Click();
    QCOMPARE(rig.surface.log, (QStringList{"Time=0", "Squares=0", "Percent=0", "Points=0"}));
    QCOMPARE(rig.game.state().points, 2);
}

void GameTest::nestedStartPlaysOutThenEndsInterruptedGame_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<double>("startAt"); // a Medium game starts nested at this time
    QTest::addColumn<int>("turnCount");
    QTest::addColumn<QStringList>("after"); // the log after the nested game's end
    // The interrupted turn goes on with what the nested game left: its count and its last time.
    QTest::newRow("in a turn's pause") << "Medium" << 1.0 << 2 + 20
                                       << QStringList{"Squares=20", "Time=14.25", "Percent=0.00%"} + closing(1, "17.5")
            + kRatio + ending(21);
    // In Hard's first closing pause: the nested game leaves 14.25 s, so no second closing step.
    QTest::newRow("in a closing pause") << "Hard" << 15.1 << 30 + 20 << closing(0) + kRatio + ending(20);
}

void GameTest::nestedStartPlaysOutThenEndsInterruptedGame()
{
    QFETCH(QString, difficulty);
    QFETCH(double, startAt);
    QFETCH(int, turnCount);
    QFETCH(QStringList, after);
    Rig rig(difficulty);
    int innerDepth = 0;
    rig.runtime.at(startAt, [&] {
        rig.runtime.at(startAt + 1.0, [&rig, &innerDepth] { innerDepth = rig.game.depth(); });
        rig.surface.difficulty = QStringLiteral("Medium");
        rig.game.cmdStartClick();
    });
    rig.game.cmdStartClick();

    QCOMPARE(innerDepth, 2);
    QCOMPARE(rig.game.depth(), 0);
    QCOMPARE(turns(rig.surface.log).size(), turnCount);
    const QStringList &log = rig.surface.log;
    QCOMPARE(log.mid(log.indexOf(QStringLiteral("refresh")) + 1), after);
}

void GameTest::startAtDepthBoundDoesNothing()
{
    Rig rig(QStringLiteral("Insane"));
    int deepest = 0;
    for (int start = 1; start <= 70; ++start) {
        rig.runtime.at(0.001 * start, [&rig, &deepest] {
            rig.game.cmdStartClick();
            deepest = std::max(deepest, rig.game.depth());
        });
    }
    rig.game.cmdStartClick();
    QCOMPARE(deepest, 64);
    QCOMPARE(rig.surface.log.count(QStringLiteral("refresh")), 64);
    QCOMPARE(rig.game.depth(), 0);
}

void GameTest::stopEndsEveryGameSilently_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("depth"); // games running at the stop, the nested ones started at 1 s, 2 s...
    QTest::addColumn<double>("stopAt");
    QTest::newRow("three deep") << "Hard" << 3 << 3.2;
    // In the closing pauses, after the last turn's time was written.
    QTest::newRow("Medium's closing pause") << "Medium" << 1 << 15.5;
    QTest::newRow("Hard's closing pause") << "Hard" << 1 << 15.2;
    QTest::newRow("Insane's pause at 14.5") << "Insane" << 1 << 14.9;
}

void GameTest::stopEndsEveryGameSilently()
{
    QFETCH(QString, difficulty);
    QFETCH(int, depth);
    QFETCH(double, stopAt);
    Rig rig(difficulty);
    qsizetype logAtStop = -1;
    int depthAtStop = 0;
    for (int nested = 1; nested < depth; ++nested)
        rig.runtime.at(nested, [&rig] { rig.game.cmdStartClick(); });
    rig.runtime.at(stopAt, [&] {
        depthAtStop = rig.game.depth();
        rig.game.stop();
        logAtStop = rig.surface.log.size();
    });
    rig.game.cmdStartClick();

    QCOMPARE(depthAtStop, depth);
    QCOMPARE(rig.game.depth(), 0);
    QCOMPARE(rig.surface.log.size(), logAtStop);
    QCOMPARE(rig.runtime.now(), stopAt);
    // A stopped game answers no handler.
    rig.game.cmdStartClick();
    rig.game.lst1Click();
    rig.game.pctClick(1);
    QCOMPARE(rig.surface.log.size(), logAtStop);
}

void GameTest::noDifficultyGamePassesSixteenBits()
{
    Rig rig;
    rig.runtime.setStepPerReading(0.0002);
    bool systemEventHandled = false;
    rig.runtime.at(1.0, [&rig] { rig.game.pctClick(rig.surface.litSquare()); });
    const auto handleSystemEvent = [&systemEventHandled] { systemEventHandled = true; };
    rig.runtime.at(1.0, handleSystemEvent, false);
    rig.game.cmdStartClick();

    const std::int32_t squares = rig.game.state().squares;
    QVERIFY2(squares > 32767, qPrintable(QString::number(squares)));
    QCOMPARE(rig.surface.text(Display::Squares), QString::number(squares));
    QCOMPARE(turns(rig.surface.log).size(), squares);
    // The click waits for the game to end; the window is serviced all along.
    QCOMPARE(rig.game.state().points, 0);
    QCOMPARE(rig.runtime.pendingCount(), 1);
    QVERIFY(systemEventHandled);
    const QList<double> &pumps = rig.runtime.systemPumpTimes();
    QVERIFY(pumps.size() > 100);
    for (qsizetype index = 1; index < pumps.size(); ++index) {
        const double gap = pumps.at(index) - pumps.at(index - 1);
        QVERIFY2(gap > 0.0499 && gap < 0.0505, qPrintable(QString::number(gap)));
    }
    QVERIFY(!rig.surface.log.join(u'\n').contains(QLatin1String("wait")));
}

void GameTest::gameEndedBeforeFirstTurnShowsZeroPercent()
{
    Rig rig(QStringLiteral("Medium"));
    rig.runtime.setStepPerReading(16.0);
    rig.game.cmdStartClick();
    QCOMPARE(rig.surface.log, ending(0));
}

QTEST_GUILESS_MAIN(GameTest)
#include "GameTest.moc"
