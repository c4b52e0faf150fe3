// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
// Measures the figures docs/performance.md records, on the window built as the program builds
// it, on the real Qt runtime. One figure from one run says little on a shared machine, so the
// program runs the measures in a fresh process of its own VANTOKE_BENCH_RUNS times (5 unless
// told), and reports each figure's median and range over the runs.
#include "EventTable.h"
#include "EventWatch.h"
#include "FloorWindow.h"
#include "Form1.h"
#include "FramebufferWatch.h"
#include "PlatformChoice.h"
#include "Presser.h"
#include "QtRuntime.h"
#include "Readings.h"
#include "ScreenTimes.h"

#include <QApplication>
#include <QListWidget>
#include <QMap>
#include <QProcess>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace vantoke;

namespace {

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

void idleFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `work`; returns the CPU seconds of every thread and the wall seconds it took.
std::pair<double, double> timed(const std::function<void()> &work)
{
    const double cpu = cpuSeconds();
    const double wall = monotonicSeconds();
    work();
    const double length = monotonicSeconds() - wall;
    return {cpuSeconds() - cpu, length};
}

// A run reports each figure on a line of its own, "figure <key> <value>", for the parent to
// gather; the figures' order and labels are the report's.
struct Figure
{
    const char *key;
    const char *label;
    const char *unit;
};

const Figure kFigures[] = {
    {"startup", "start-up to first frame", "ms"},
    {"idle_rss", "idle resident memory", "MiB"},
    {"gl_driver", "GL driver loaded", "1 if loaded"},
    {"watched", "CPU, paced \"Insane\" game, watched", "% of a core"},
    {"played", "CPU, paced \"Insane\" game, played", "% of a core"},
    {"played_fps", "frames a second, played", "frames/s"},
    {"floor", "Qt's floor: an empty window, as many frames", "% of a core"},
    {"press_p50", "press to hidden, p50", "ms"},
    {"press_p99", "press to hidden, p99", "ms"},
    {"press_max", "press to hidden, max", "ms"},
    {"paint_p50", "show to the start of its frame's paint, p50", "ms"},
    {"paint_p99", "show to the start of its frame's paint, p99", "ms"},
    {"arrive_p50", "screen: show to the frame's arrival, p50", "ms"},
    {"arrive_p99", "screen: show to the frame's arrival, p99", "ms"},
    {"present_p50", "screen: show to presented, p50", "ms"},
    {"present_p99", "screen: show to presented, p99", "ms"},
    {"hidden_p50", "screen: press to hidden presented, p50", "ms"},
    {"hidden_p99", "screen: press to hidden presented, p99", "ms"},
    {"lit_p99", "screen: lit time off its pause, p99", "ms"},
    {"refresh", "screen: shortest time between presentations", "ms"},
    {"lit", "screen: squares lit", "squares"},
    {"unseen", "screen: squares never presented", "squares"},
    {"pause_p50", "pause overrun, p50", "ms"},
    {"pause_p99", "pause overrun, p99", "ms"},
    {"pause_max", "pause overrun, max", "ms"},
    {"pause_cpu", "pause CPU", "% of a core"},
    {"turns", "no-difficulty game, turns", "million"},
    {"growth", "no-difficulty game, peak memory growth", "MiB"},
};

void report(const QByteArray &key, double value)
{
    std::printf("figure %s %.6g\n", key.constData(), value);
    std::fflush(stdout);
}

// Start-up: from `started`, the top of main, to the end of the first frame's paint, the window
// wired, loaded and shown as the program does it.
void measureStartup(double started, Form1 &form)
{
    double painted = 0.0;
    QObject timers; // ends with `painted`, and any timer still pending with it
    EventWatch firstPaint([&](QObject *, QEvent *event) {
        if (event->type() == QEvent::Paint && painted == 0.0)
            QTimer::singleShot(0, &timers, [&painted] { painted = painted == 0.0 ? monotonicSeconds() : painted; });
    });
    form.installEventFilter(&firstPaint);
    connectEventTable(form);
    form.load();
    form.show();
    while (painted == 0.0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    report("startup", (painted - started) * 1000.0);
}

// A second after the first frame: resident memory, and whether a GL driver was loaded, as Qt 6.4
// does on Wayland to draw a title bar.
void measureIdle()
{
    idleFor(1.0);
    report("idle_rss", residentMiB());
    report("gl_driver", glDriverLoaded() ? 1.0 : 0.0);
}

// A paced game at the chosen difficulty that the player only watches.
void measureWatched(Form1 &form)
{
    const auto [cpu, wall] = timed([&form] { form.game().cmdStartClick(); });
    report("watched", cpu / wall * 100.0);
}

struct Played
{
    std::vector<Presser::Turn> turns;
    double fps = 0.0;
};

// The same game with every square pressed by the Presser, whose own CPU is left out. The frames
// are the update requests the window system hands the window, which Qt before 6.8 delivers to
// the window and from 6.8 on to its widget.
Played measurePlayed(Form1 &form)
{
    Presser presser(form);
    int toWindow = 0;
    int toWidget = 0;
    std::vector<double> painted; // when each frame's paint began
    EventWatch frames([&](QObject *watched, QEvent *event) {
        if (event->type() == QEvent::UpdateRequest) {
            ++(watched == &form ? toWidget : toWindow);
            painted.push_back(monotonicSeconds());
        }
    });
    form.installEventFilter(&frames);
    form.windowHandle()->installEventFilter(&frames);
    const auto [cpu, wall] = timed([&] {
        form.game().cmdStartClick();
        presser.stop();
    });
    const double fps = std::max(toWindow, toWidget) / wall;
    report("played", (cpu - presser.ownCpu()) / wall * 100.0);
    report("played_fps", fps);
    report("press_p50", percentile(presser.latencies(), 0.5) * 1000.0);
    report("press_p99", percentile(presser.latencies(), 0.99) * 1000.0);
    report("press_max", percentile(presser.latencies(), 1.0) * 1000.0);
    // How long a lit square waited for the paint of its frame: a frame left for the pump's next
    // pass would show here.
    std::vector<double> waits;
    for (const Presser::Turn &turn : presser.turns()) {
        const auto paint = std::lower_bound(painted.begin(), painted.end(), turn.shown);
        if (paint != painted.end())
            waits.push_back(*paint - turn.shown);
    }
    if (!waits.empty()) {
        report("paint_p50", percentile(waits, 0.5) * 1000.0);
        report("paint_p99", percentile(waits, 0.99) * 1000.0);
    }
    return {presser.turns(), fps};
}

// Qt's floor, with the game's window out of the way: an empty window that lights and darkens one
// square's area on a precise timer, in Qt's own event loop, `fps` times a second, for 10 s.
void measureFloor(Form1 &form, double fps)
{
    FloorWindow floor(form.size(), form.findChild<QWidget *>(QStringLiteral("pct1"))->geometry());
    form.hide();
    floor.show();
    idleFor(0.5);
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(static_cast<int>(1000.0 / std::max(fps, 1.0)));
    QObject::connect(&ticks, &QTimer::timeout, &floor, &FloorWindow::toggle);
    const auto [cpu, wall] = timed([&ticks] {
        ticks.start();
        idleFor(10.0);
        ticks.stop();
    });
    report("floor", cpu / wall * 100.0);
    floor.hide();
    form.show();
    idleFor(0.5);
}

// 100 of the game's own pauses of 100 ms: how late they end, and their CPU share.
void measurePauses(Form1 &form)
{
    std::vector<double> overruns;
    const auto [cpu, wall] = timed([&] {
        for (int count = 0; count < 100; ++count) {
            const double start = monotonicSeconds();
            form.game().timeOut(0.1);
            overruns.push_back(monotonicSeconds() - start - 0.1);
        }
    });
    report("pause_p50", percentile(overruns, 0.5) * 1000.0);
    report("pause_p99", percentile(overruns, 0.99) * 1000.0);
    report("pause_max", percentile(overruns, 1.0) * 1000.0);
    report("pause_cpu", cpu / wall * 100.0);
}

// No difficulty: turns as fast as the machine allows. Resident memory is sampled by a timer,
// which the game's servicing of the window lets run.
void measureNoDifficulty(Form1 &form, QListWidget &list)
{
    list.clearSelection();
    const double before = residentMiB();
    double peak = before;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&peak] { peak = std::max(peak, residentMiB()); });
    sampler.start(100);
    form.game().cmdStartClick();
    sampler.stop();
    peak = std::max(peak, residentMiB());
    report("turns", form.game().state().squares / 1e6);
    report("growth", peak - before);
}

// When the played game's lit squares reached the screen.
void reportScreenTimes(const ScreenTimes &times)
{
    report("lit", times.lit);
    report("unseen", times.unseen);
    if (!times.intervals.empty())
        report("refresh", percentile(times.intervals, 0.0) * 1000.0);
    if (times.arrive.empty() || times.hidden.empty() || times.litOff.empty())
        return;
    report("arrive_p50", percentile(times.arrive, 0.5) * 1000.0);
    report("arrive_p99", percentile(times.arrive, 0.99) * 1000.0);
    report("present_p50", percentile(times.present, 0.5) * 1000.0);
    report("present_p99", percentile(times.present, 0.99) * 1000.0);
    report("hidden_p50", percentile(times.hidden, 0.5) * 1000.0);
    report("hidden_p99", percentile(times.hidden, 0.99) * 1000.0);
    report("lit_p99", percentile(times.litOff, 0.99) * 1000.0);
}

// On Xvfb, whose screen is the file `framebuffer`: another played game, with each square's
// centre watched on the screen. The watch's own CPU would count against the game's, hence a game
// of its own.
void measureFramebuffer(Form1 &form, const QString &framebuffer)
{
    std::vector<QPoint> centres;
    for (int square = 1; square <= 6; ++square) {
        const auto *widget = form.findChild<QWidget *>(QStringLiteral("pct%1").arg(square));
        centres.push_back(widget->mapToGlobal(widget->rect().center()));
    }
    FramebufferWatch watch(framebuffer, centres);
    if (!watch.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(watch.error()));
        return;
    }
    Presser presser(form);
    form.game().cmdStartClick();
    presser.stop();
    watch.stop();
    reportScreenTimes(screenTimesFromFramebuffer(presser.turns(), watch.changes()));
}

// One run, in this order, each measure on the window as the one before left it.
int runOnce(int argc, char *argv[], double started)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantoke"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantoke"));
    QApplication::setDesktopFileName(QStringLiteral("org.vantoke.Vantoke"));
    QtRuntime runtime;
    Form1 form(runtime);
    measureStartup(started, form);
    measureIdle();
    auto *list = form.findChild<QListWidget *>(QStringLiteral("lst1"));
    list->setCurrentRow(2); // "Insane", the most demanding
    measureWatched(form);
    const Played played = measurePlayed(form);
    measureFloor(form, played.fps);
    measurePauses(form);
    measureNoDifficulty(form, *list);
    if (qEnvironmentVariableIsSet("VANTOKE_BENCH_TIMELINE")) {
        if (const auto times = screenTimesFromTimeline(played.turns, qEnvironmentVariable("VANTOKE_BENCH_TIMELINE")))
            reportScreenTimes(*times);
    }
    if (qEnvironmentVariableIsSet("VANTOKE_BENCH_FRAMEBUFFER")) {
        list->setCurrentRow(2);
        measureFramebuffer(form, qEnvironmentVariable("VANTOKE_BENCH_FRAMEBUFFER"));
    }
    return 0;
}

// Runs the measures in `runs` fresh processes of this program, then prints each figure's median
// and range, and the first run's: the first start after installing is the one a player sees
// first. Returns the exit status.
int runAll(const QString &program, int runs)
{
    QMap<QString, std::vector<double>> values;
    for (int run = 1; run <= runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(program, {QStringLiteral("--once")});
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", run, qPrintable(child.errorString()));
            return 1;
        }
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.trimmed().split(' ');
            if (fields.size() == 3 && fields.at(0) == "figure")
                values[QString::fromLatin1(fields.at(1))].push_back(fields.at(2).toDouble());
        }
        std::printf("run %d of %d done\n", run, runs);
        std::fflush(stdout);
    }
    std::printf("\n%-48s %10s %10s %10s %10s  %s (over %d runs)\n", "figure", "median", "lowest", "highest", "first",
        "unit", runs);
    for (const Figure &figure : kFigures) {
        const std::vector<double> &all = values.value(QString::fromLatin1(figure.key));
        if (all.empty())
            continue;
        std::printf("%-48s %10.3f %10.3f %10.3f %10.3f  %s\n", figure.label, percentile(all, 0.5),
            *std::min_element(all.begin(), all.end()), *std::max_element(all.begin(), all.end()), all.front(),
            figure.unit);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const double started = monotonicSeconds();
    // On a display, the platform the game itself would choose; offscreen where there is none.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    choosePlatform(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "--once") == 0)
        return runOnce(argc, argv, started);
    QCoreApplication parent(argc, argv);
    const int runs = qEnvironmentVariableIsSet("VANTOKE_BENCH_RUNS")
        ? std::max(1, qEnvironmentVariableIntValue("VANTOKE_BENCH_RUNS"))
        : 5;
    return runAll(QCoreApplication::applicationFilePath(), runs);
}
