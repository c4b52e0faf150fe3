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
    void turnCountsWithExactPauses_data();
    void turnCountsWithExactPauses();
    void firstTurnOrder();
    void closingSteps_data();
    void closingSteps();
    void insaneFreezesWithoutPauseBelowSecondThreshold();
    void randomPicksSquare_data();
    void randomPicksSquare();
    void hitShowsInPercentThenPoints();
    void listClickDuringGame();
    void handlers();
    void nestedStartPlaysOutThenEndsInterruptedGame();
    void startAtDepthBoundDoesNothing();
    void stopAtDepthThreeEndsEveryGameSilently();
    void noDifficultyGamePassesSixteenBits();
    void gameEndedBeforeFirstTurnShowsZeroPercent();
};

void GameTest::turnCountsWithExactPauses_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("turnCount");
    QTest::addColumn<double>("endTime");
    QTest::newRow("Medium") << "Medium" << 20 << 15.75;
    QTest::newRow("Hard") << "Hard" << 30 << 15.5;
    QTest::newRow("Insane") << "Insane" << 60 << 15.5;
}

void GameTest::turnCountsWithExactPauses()
{
    QFETCH(QString, difficulty);
    QFETCH(int, turnCount);
    QFETCH(double, endTime);
    Rig rig(difficulty);
    rig.game.cmdStartClick();
    QCOMPARE(turns(rig.surface.log).size(), turnCount);
    QCOMPARE(rig.game.state().squares, turnCount);
    QCOMPARE(rig.surface.text(Display::Squares), QString::number(turnCount));
    QCOMPARE(rig.runtime.now(), endTime);
    QCOMPARE(rig.game.depth(), 0);
}

void GameTest::firstTurnOrder()
{
    Rig rig(QStringLiteral("Medium"));
    rig.game.cmdStartClick();
    const QStringList expected = QStringList{"Points=0", "Squares=0"} + kHideAll
        + QStringList{"show 4", "difficulty", "wait 0.75", "Squares=0", "Time=0", "Percent=0.00%", "Percent=0.00%",
            "lock Percent"};
    QCOMPARE(turns(rig.surface.log).first(), expected);
}

void GameTest::closingSteps_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<QStringList>("lastTurn");
    const QStringList ratio{"Percent=0.00%", "lock Percent"};
    const QStringList ending{"Percent=0.00%", "refresh"};

    // Medium and Hard pause again before hiding, so the last square shows for two pauses.
    QTest::newRow("Medium") << "Medium"
                            << QStringList{"Points=0", "Squares=19"} + kHideAll
            + QStringList{"show 4", "difficulty", "wait 15", "Squares=19", "Time=14.25", "Percent=0.00%", "difficulty",
                "wait 15.75"}
            + kFreeze + ratio + ratio + QStringList{"Squares=20"} + ending;
    QTest::newRow("Hard") << "Hard"
                          << QStringList{"Points=0", "Squares=29"} + kHideAll
            + QStringList{"show 4", "difficulty", "difficulty", "wait 15", "Squares=29", "Time=14.5", "Percent=0.00%",
                "difficulty", "difficulty", "wait 15.5"}
            + kFreeze + ratio + QStringList{"difficulty"} + kFreeze + ratio + ratio + QStringList{"Squares=30"}
            + ending;
    // Insane pauses only after everything is hidden; its last turn starts exactly 15 s in.
    QTest::newRow("Insane") << "Insane"
                            << QStringList{"Points=0", "Squares=59"} + kHideAll
            + QStringList{"show 4", "difficulty", "difficulty", "difficulty", "wait 15.25", "Squares=59", "Time=15",
                "Percent=0.00%", "difficulty", "difficulty"}
            + kFreeze + ratio + QStringList{"difficulty", "wait 15.5"} + kFreeze + ratio + ratio
            + QStringList{"Squares=60"} + ending;
}

void GameTest::closingSteps()
{
    QFETCH(QString, difficulty);
    QFETCH(QStringList, lastTurn);
    Rig rig(difficulty);
    rig.game.cmdStartClick();
    QCOMPARE(turns(rig.surface.log).last(), lastTurn);
    QCOMPARE(rig.surface.locked, (std::array<bool, 4>{true, true, true, true}));
}

void GameTest::insaneFreezesWithoutPauseBelowSecondThreshold()
{
    Rig rig(QStringLiteral("Insane"));
    rig.game.cmdStartClick();
    const QStringList turn = turns(rig.surface.log).at(57);
    QVERIFY(turn.contains(QStringLiteral("Time=14.25")));
    const QStringList closing = turn.mid(turn.indexOf(QStringLiteral("Time=14.25")) + 1);
    const QStringList expected = QStringList{"Percent=0.00%", "difficulty", "difficulty"} + kFreeze
        + QStringList{"Percent=0.00%", "lock Percent", "Percent=0.00%", "lock Percent"};
    QCOMPARE(closing, expected);
}

void GameTest::randomPicksSquare_data()
{
    QTest::addColumn<float>("random");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0.0f << "show 1";
    QTest::newRow("a sixth") << 1.0f / 6.0f << "show 2";
    QTest::newRow("half") << 0.5f << "show 4";
    QTest::newRow("largest single below 1") << std::nextafter(1.0f, 0.0f) << "show 6";
}

void GameTest::randomPicksSquare()
{
    QFETCH(float, random);
    QFETCH(QString, shown);
    Rig rig(QStringLiteral("Hard"));
    rig.runtime.setRandoms({random});
    rig.game.cmdStartClick();
    const QStringList first = turns(rig.surface.log).first();
    QCOMPARE(first.filter(QStringLiteral("show ")), QStringList{shown});
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

void GameTest::nestedStartPlaysOutThenEndsInterruptedGame()
{
    Rig rig(QStringLiteral("Medium"));
    int innerDepth = 0;
    rig.runtime.at(1.0, [&rig, &innerDepth] {
        rig.runtime.at(2.0, [&rig, &innerDepth] { innerDepth = rig.game.depth(); });
        rig.game.cmdStartClick();
    });
    rig.game.cmdStartClick();

    QCOMPARE(innerDepth, 2);
    QCOMPARE(rig.game.depth(), 0);
    QCOMPARE(turns(rig.surface.log).size(), 2 + 20);
    // The interrupted turn goes on with what the nested game left: its count and its last time.
    const QStringList &log = rig.surface.log;
    const QStringList after = log.mid(log.indexOf(QStringLiteral("refresh")) + 1);
    const QStringList expected = QStringList{"Squares=20", "Time=14.25", "Percent=0.00%", "difficulty", "wait 17.5"}
        + kFreeze
        + QStringList{
            "Percent=0.00%", "lock Percent", "Percent=0.00%", "lock Percent", "Squares=21", "Percent=0.00%", "refresh"};
    QCOMPARE(after, expected);
}

void GameTest::startAtDepthBoundDoesNothing()
{
    Rig rig(QStringLiteral("Insane"));
    int deepest = 0;
    for (int start = 1; start <= Game::kMaxDepth + 6; ++start) {
        rig.runtime.at(0.001 * start, [&rig, &deepest] {
            rig.game.cmdStartClick();
            deepest = std::max(deepest, rig.game.depth());
        });
    }
    rig.game.cmdStartClick();
    QCOMPARE(deepest, Game::kMaxDepth);
    QCOMPARE(rig.surface.log.count(QStringLiteral("refresh")), Game::kMaxDepth);
    QCOMPARE(rig.game.depth(), 0);
}

void GameTest::stopAtDepthThreeEndsEveryGameSilently()
{
    Rig rig(QStringLiteral("Hard"));
    qsizetype logAtStop = -1;
    int depthAtStop = 0;
    rig.runtime.at(1.0, [&rig] { rig.game.cmdStartClick(); });
    rig.runtime.at(2.0, [&rig] { rig.game.cmdStartClick(); });
    rig.runtime.at(3.2, [&] {
        depthAtStop = rig.game.depth();
        rig.game.stop();
        logAtStop = rig.surface.log.size();
    });
    rig.game.cmdStartClick();

    QCOMPARE(depthAtStop, 3);
    QCOMPARE(rig.game.depth(), 0);
    QCOMPARE(rig.surface.log.size(), logAtStop);
    QCOMPARE(rig.runtime.now(), 3.2);
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
    const auto systemEvent = [&systemEventHandled] { systemEventHandled = true; };
    rig.runtime.at(1.0, systemEvent, false);
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
    for (qsizetype index = 1; index < pumps.size(); ++index)
        QVERIFY(pumps.at(index) - pumps.at(index - 1) <= 0.1);
    QVERIFY(!rig.surface.log.join(u'\n').contains(QLatin1String("wait")));
}

void GameTest::gameEndedBeforeFirstTurnShowsZeroPercent()
{
    Rig rig(QStringLiteral("Medium"));
    rig.runtime.setStepPerReading(16.0);
    rig.game.cmdStartClick();
    QCOMPARE(rig.surface.log, (QStringList{"Squares=0", "Percent=0.00%", "refresh"}));
}

QTEST_GUILESS_MAIN(GameTest)
#include "GameTest.moc"
