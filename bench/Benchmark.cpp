// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
// Measures the figures docs/performance.md records: start-up to the first painted frame, idle memory,
// the CPU share and timing of a paced game, what as many frames cost Qt in an empty window,
// press-to-hidden latency, and a no-difficulty game. Given weston's timeline
// (VANTOKE_BENCH_TIMELINE), also when the played game's squares reached the screen.
// One figure from one run says little on a shared machine, so the program runs the measures in
// a fresh process of its own VANTOKE_BENCH_RUNS times (5 unless told), and reports each figure's
// median and range over the runs.
#include "PlatformChoice.h"
#include "QtRuntime.h"
#include "WindowRig.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <mutex>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#endif

using namespace vantoke;

namespace {

const auto kProcessStart = std::chrono::steady_clock::now();

// CLOCK_MONOTONIC on Linux, the clock of weston's timeline and of its "vblank_monotonic", even
// where weston's presentation clock is CLOCK_MONOTONIC_RAW: its first event comes 40 ms after
// weston starts by CLOCK_MONOTONIC, and the two clocks were 0.2 s apart.
double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double secondsSinceStart()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - kProcessStart).count();
}

// CPU time of every thread of the process. On Linux, from the scheduler's nanosecond accounting:
// getrusage samples on clock ticks, far too coarsely for a process that mostly sleeps. On
// Windows, from the system's account of the process; elsewhere without /proc, from the
// process's own CPU clock.
double cpuSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        const auto ticks = [](const FILETIME &time) {
            return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        };
        return (ticks(kernel) + ticks(user)) * 100e-9;
    }
#endif
    const QDir tasks(QStringLiteral("/proc/self/task"));
    if (!tasks.exists()) {
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
    }
    double total = 0.0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            total += schedstat.readAll().split(' ').first().toDouble() * 1e-9;
    }
    return total;
}

// Resident memory: the working set on Windows, VmRSS where there is /proc.
double residentMiB()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

// Whether a GL driver is mapped into the process: Mesa's DRI drivers, or its EGL or GLX vendor
// library, which loads one.
bool glDriverLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = maps.readAll();
    return all.contains("_dri.so") || all.contains("libEGL_mesa") || all.contains("libGLX_mesa")
        || all.contains("libgallium");
}

// CPU time of the calling thread.
double threadCpuSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0.0;
    const auto ticks = [](const FILETIME &time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 100e-9;
#else
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
#endif
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

// Presses each lit square with the left button from another thread, at a random moment of its
// pause, and releases it: through Qt's window-system queue, which delivers them to the window
// as the display server's input, with the focus changes a press brings. Times how long from the
// press until the square hides.
class Presser : public QObject
{
public:
    Presser(WindowRig &rig, QtRuntime &runtime)
        : m_runtime(runtime)
        , m_form(rig.form)
    {
        for (int square = 1; square <= 6; ++square)
            rig.square(square)->installEventFilter(this);
        m_thread = std::thread([this] { run(); });
    }
    ~Presser() override { stop(); }
    void stop()
    {
        if (!m_thread.joinable())
            return;
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    std::vector<double> latencies;
    // Each square lit, in monotonicSeconds(): when it showed, when it was pressed (0 if not) and
    // when it hid.
    struct Turn
    {
        double shown = 0.0;
        double pressed = 0.0;
        double hidden = 0.0;
    };
    std::vector<Turn> turns;
    // The presser's own CPU time, which is the benchmark's and not the game's; valid once stopped.
    double ownCpu() const { return m_ownCpu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = static_cast<QWidget *>(watched);
        std::lock_guard lock(m_mutex);
        if (event->type() == QEvent::Show) {
            turns.push_back({monotonicSeconds()});
            m_litTurn = turns.size() - 1;
            m_lit = widget;
            m_litAt = widget->mapTo(&m_form, QPointF(widget->rect().center()));
            m_wake.notify_all();
        } else if (event->type() == QEvent::Hide) {
            if (!turns.empty() && turns.back().hidden == 0.0)
                turns.back().hidden = monotonicSeconds();
            if (widget == m_pressed) {
                latencies.push_back(m_runtime.clock() - m_pressedAt);
                m_pressed = nullptr;
            }
        }
        return false;
    }

private:
    void run()
    {
        std::mt19937 random(12345);
        std::uniform_real_distribution<double> delay(0.02, 0.2);
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || m_lit; });
            if (m_quit) {
                m_ownCpu = threadCpuSeconds();
                return;
            }
            QWidget *target = std::exchange(m_lit, nullptr);
            const std::size_t turn = m_litTurn;
            const QPointF at = m_litAt;
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
            lock.lock();
            m_pressed = target;
            m_pressedAt = m_runtime.clock();
            if (turns.at(turn).hidden == 0.0)
                turns.at(turn).pressed = monotonicSeconds();
            lock.unlock();
            // Returns once the window has handled the event.
            QWindow *window = m_form.windowHandle();
            qt_handleMouseEvent(window, at, window->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                QEvent::MouseButtonPress, Qt::NoModifier, ++m_timestamp);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            qt_handleMouseEvent(window, at, window->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                QEvent::MouseButtonRelease, Qt::NoModifier, m_timestamp += 30);
            lock.lock();
        }
    }

    QtRuntime &m_runtime;
    Form1 &m_form;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QWidget *m_lit = nullptr;
    std::size_t m_litTurn = 0;
    QPointF m_litAt; // where it shows, in the window
    int m_timestamp = 0;
    QWidget *m_pressed = nullptr;
    double m_pressedAt = 0.0;
    bool m_quit = false;
    double m_ownCpu = 0.0;
    std::thread m_thread;
};

// Counts the frames a window paints: the update requests the window system hands it, which Qt
// before 6.8 delivers to the window and from 6.8 on to its widget.
class FrameCounter : public QObject
{
public:
    explicit FrameCounter(QWidget &widget)
        : m_widget(widget)
    {
        m_widget.installEventFilter(this);
        m_widget.windowHandle()->installEventFilter(this);
    }
    ~FrameCounter() override
    {
        m_widget.removeEventFilter(this);
        m_widget.windowHandle()->removeEventFilter(this);
    }
    int frames() const { return std::max(m_toWindow, m_toWidget); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::UpdateRequest)
            ++(watched == &m_widget ? m_toWidget : m_toWindow);
        return false;
    }

private:
    QWidget &m_widget;
    int m_toWindow = 0;
    int m_toWidget = 0;
};

// Qt's own floor for the frames the game asks for: a window of the game's size with nothing in
// it, which lights and darkens one square's area on a precise timer, in Qt's own event loop, as
// many times a second as the pressed game painted frames.
class FloorWindow : public QWidget
{
public:
    FloorWindow(QSize size, QRect square)
        : m_square(square)
    {
        resize(size);
    }
    void toggle()
    {
        m_lit = !m_lit;
        update(m_square);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(m_square, m_lit ? QColor(Qt::red) : palette().window().color());
    }

private:
    QRect m_square;
    bool m_lit = false;
};

void idleFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
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
    {"busy", "busy-wait reference", "% of a core"},
    {"watched", "CPU, paced \"Insane\" game, watched", "% of a core"},
    {"played", "CPU, paced \"Insane\" game, played", "% of a core"},
    {"played_fps", "frames a second, played", "frames/s"},
    {"floor", "Qt's floor: an empty window, as many frames", "% of a core"},
    {"press_p50", "press to hidden, p50", "ms"},
    {"press_p99", "press to hidden, p99", "ms"},
    {"press_max", "press to hidden, max", "ms"},
    {"arrive_p50", "screen: show to commit at compositor, p50", "ms"},
    {"arrive_p99", "screen: show to commit at compositor, p99", "ms"},
    {"present_p50", "screen: show to presented, p50", "ms"},
    {"present_p99", "screen: show to presented, p99", "ms"},
    {"hidden_p50", "screen: press to hidden presented, p50", "ms"},
    {"hidden_p99", "screen: press to hidden presented, p99", "ms"},
    {"lit_p99", "screen: lit time off its pause, p99", "ms"},
    {"refresh", "screen: shortest time between presentations", "ms"},
    {"unseen", "screen: squares never presented", "squares"},
    {"pause_p50", "pause overrun, p50", "ms"},
    {"pause_p99", "pause overrun, p99", "ms"},
    {"pause_max", "pause overrun, max", "ms"},
    {"pause_cpu", "pause CPU", "% of a core"},
    {"alt_p50", "Qt's precise timer + 2 ms spin, overrun p50", "ms"},
    {"alt_p99", "Qt's precise timer + 2 ms spin, overrun p99", "ms"},
    {"alt_max", "Qt's precise timer + 2 ms spin, overrun max", "ms"},
    {"alt_cpu", "Qt's precise timer + 2 ms spin, CPU", "% of a core"},
    {"sleep_p99", "bare kernel sleep, lateness p99", "ms"},
    {"turns", "no-difficulty game, turns", "million"},
    {"growth", "no-difficulty game, peak memory growth", "MiB"},
};

void report(const QByteArray &key, double value)
{
    std::printf("figure %s %.6g\n", key.constData(), value);
    std::fflush(stdout);
}

// When the played game's squares reached the screen, from weston's timeline (its "timeline" log
// scope, in CLOCK_MONOTONIC): a frame arrives with the first commit of the game's surface after
// the change, and is presented at the end of the first repaint that begins after that commit.
// The game's surface is the one that committed most during the game.
void reportScreenTimes(const std::vector<Presser::Turn> &turns, const QString &path)
{
    QFile file(path);
    if (turns.empty() || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no timeline to read in %s\n", qPrintable(path));
        return;
    }
    const auto seconds = [](const QJsonValue &pair) { return pair[0].toDouble() + pair[1].toDouble() * 1e-9; };
    const double from = turns.front().shown;
    const double to = turns.back().hidden + 0.5;
    QMap<int, std::vector<double>> commits; // by surface
    std::vector<std::pair<double, double>> repaints; // begun, presented
    double begun = 0.0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith('{'))
            continue;
        const QJsonObject event = QJsonDocument::fromJson(line).object();
        const QString name = event[QLatin1String("N")].toString();
        const double at = seconds(event[QLatin1String("T")]);
        if (at < from || at > to)
            continue;
        if (name == QLatin1String("core_commit_damage"))
            commits[event[QLatin1String("ws")].toInt()].push_back(at);
        else if (name == QLatin1String("core_repaint_begin"))
            begun = at;
        else if (name == QLatin1String("core_repaint_finished") && begun > 0.0)
            repaints.emplace_back(std::exchange(begun, 0.0), seconds(event[QLatin1String("vblank_monotonic")]));
    }
    const std::vector<double> *game = nullptr;
    for (const std::vector<double> &surface : commits)
        if (!game || surface.size() > game->size())
            game = &surface;
    if (!game || repaints.size() < 2) {
        std::fprintf(stderr, "the timeline in %s holds no frames of the game\n", qPrintable(path));
        return;
    }
    // Where the screen had no later commit or repaint, the change never got there: +infinity.
    constexpr double never = std::numeric_limits<double>::infinity();
    const auto arrival = [game](double change) {
        const auto found = std::lower_bound(game->begin(), game->end(), change);
        return found == game->end() ? never : *found;
    };
    const auto presented = [&repaints](double commit) {
        const auto found = std::lower_bound(repaints.begin(), repaints.end(), std::make_pair(commit, 0.0));
        return found == repaints.end() ? never : found->second;
    };
    std::vector<double> arrive, present, hidden, litOff, intervals;
    int unseen = 0;
    for (const Presser::Turn &turn : turns) {
        if (turn.hidden == 0.0)
            continue;
        const double arrived = arrival(turn.shown);
        const double shownAt = presented(arrived);
        const double hiddenAt = presented(arrival(turn.hidden));
        if (!(shownAt < hiddenAt)) {
            ++unseen;
            continue;
        }
        arrive.push_back(arrived - turn.shown);
        present.push_back(shownAt - turn.shown);
        if (turn.pressed > 0.0 && hiddenAt != never)
            hidden.push_back(hiddenAt - turn.pressed);
        if (hiddenAt != never)
            litOff.push_back(std::abs((hiddenAt - shownAt) - (turn.hidden - turn.shown)));
    }
    for (std::size_t index = 1; index < repaints.size(); ++index)
        intervals.push_back(repaints[index].second - repaints[index - 1].second);
    report("unseen", unseen);
    report("refresh", percentile(intervals, 0.0) * 1000.0);
    if (arrive.empty() || hidden.empty() || litOff.empty())
        return;
    report("arrive_p50", percentile(arrive, 0.5) * 1000.0);
    report("arrive_p99", percentile(arrive, 0.99) * 1000.0);
    report("present_p50", percentile(present, 0.5) * 1000.0);
    report("present_p99", percentile(present, 0.99) * 1000.0);
    report("hidden_p50", percentile(hidden, 0.5) * 1000.0);
    report("hidden_p99", percentile(hidden, 0.99) * 1000.0);
    report("lit_p99", percentile(litOff, 0.99) * 1000.0);
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
    // On a display, the platform the game itself would choose; offscreen where there is none.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    choosePlatform(argc, argv);
    if (argc < 2 || qstrcmp(argv[1], "--once") != 0) {
        QCoreApplication parent(argc, argv);
        const int runs = qEnvironmentVariableIsSet("VANTOKE_BENCH_RUNS")
            ? std::max(1, qEnvironmentVariableIntValue("VANTOKE_BENCH_RUNS"))
            : 5;
        return runAll(QCoreApplication::applicationFilePath(), runs);
    }
    QApplication application(argc, argv);
    QtRuntime runtime;

    // Start-up: from the top of main to the end of the first frame's paint.
    double firstFrame = 0.0;
    struct FirstPaint : QObject
    {
        double *at;
        explicit FirstPaint(double *target)
            : at(target)
        {
        }
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && *at == 0.0)
                QTimer::singleShot(0, [this] { *at = secondsSinceStart(); });
            return false;
        }
    } firstPaint(&firstFrame);
    WindowRig rig(runtime, &firstPaint);
    Form1 &form = rig.form;
    while (firstFrame == 0.0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    form.removeEventFilter(&firstPaint);
    report("startup", firstFrame * 1000.0);

    idleFor(1.0);
    report("idle_rss", residentMiB());
    // Whether a GL driver was loaded, as Qt 6.4 does on Wayland to draw a title bar.
    report("gl_driver", glDriverLoaded() ? 1.0 : 0.0);

    // The busy-wait reference: the pause as a spin that pumps and reads the clock, no sleep.
    QListWidget *list = rig.list();
    double cpu = cpuSeconds();
    double wall = runtime.clock();
    while (runtime.clock() - wall < 2.0)
        QCoreApplication::processEvents();
    const double busyShare = (cpuSeconds() - cpu) / (runtime.clock() - wall);

    // Paced games at the most demanding difficulty: one the player only watches, one in which
    // the player presses every square.
    list->setCurrentRow(2);
    auto pacedGameShare = [&] {
        const double cpuAtStart = cpuSeconds();
        const double wallAtStart = runtime.clock();
        form.game().cmdStartClick();
        return (cpuSeconds() - cpuAtStart) / (runtime.clock() - wallAtStart);
    };
    const double watchedShare = pacedGameShare();
    std::vector<double> latencies;
    std::vector<Presser::Turn> turns;
    double playedShare = 0.0;
    double playedFps = 0.0;
    {
        Presser presser(rig, runtime);
        FrameCounter counter(form);
        const double cpuAtStart = cpuSeconds();
        const double wallAtStart = runtime.clock();
        form.game().cmdStartClick();
        presser.stop();
        const double length = runtime.clock() - wallAtStart;
        playedShare = (cpuSeconds() - cpuAtStart - presser.ownCpu()) / length;
        playedFps = counter.frames() / length;
        latencies = presser.latencies;
        turns = presser.turns;
    }
    // The floor, with the game's window out of the way.
    double floorShare = 0.0;
    {
        FloorWindow floor(form.size(), rig.square(1)->geometry());
        form.hide();
        floor.show();
        idleFor(0.5);
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(static_cast<int>(1000.0 / std::max(playedFps, 1.0)));
        QObject::connect(&ticks, &QTimer::timeout, &floor, &FloorWindow::toggle);
        const double cpuAtStart = cpuSeconds();
        const double wallAtStart = runtime.clock();
        ticks.start();
        idleFor(10.0);
        ticks.stop();
        floorShare = (cpuSeconds() - cpuAtStart) / (runtime.clock() - wallAtStart);
        floor.hide();
        form.show();
        idleFor(0.5);
    }
    report("busy", busyShare * 100.0);
    report("watched", watchedShare * 100.0);
    report("played", playedShare * 100.0);
    report("played_fps", playedFps);
    report("floor", floorShare * 100.0);
    report("press_p50", percentile(latencies, 0.5) * 1000.0);
    report("press_p99", percentile(latencies, 0.99) * 1000.0);
    report("press_max", percentile(latencies, 1.0) * 1000.0);

    // The game's pause, then the alternative to a precise wake: Qt's precise timer, which only
    // knows whole milliseconds, ends the sleep 2 ms early and a pumping spin does the rest.
    const auto measurePauses = [&runtime](const QByteArray &key, const std::function<void(double)> &pause) {
        std::vector<double> overruns;
        const double cpuAtStart = cpuSeconds();
        const double wallAtStart = runtime.clock();
        for (int count = 0; count < 100; ++count) {
            const double duration = 0.1;
            const double start = runtime.clock();
            pause(duration);
            overruns.push_back(runtime.clock() - start - duration);
        }
        const double share = (cpuSeconds() - cpuAtStart) / (runtime.clock() - wallAtStart);
        report(key + "_p50", percentile(overruns, 0.5) * 1000.0);
        report(key + "_p99", percentile(overruns, 0.99) * 1000.0);
        report(key + "_max", percentile(overruns, 1.0) * 1000.0);
        report(key + "_cpu", share * 100.0);
    };
    measurePauses("pause", [&form](double duration) { form.game().timeOut(duration); });
    measurePauses("alt", [&runtime](double duration) {
        const double deadline = runtime.clock() + duration;
        QEventLoop sleep;
        QTimer::singleShot(static_cast<int>((duration - 0.002) * 1000.0), Qt::PreciseTimer, &sleep, &QEventLoop::quit);
        sleep.exec();
        while (runtime.clock() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    });
    // The machine's own floor: how late a bare sleep of the kernel's wakes up.
    std::vector<double> lateness;
    for (int pause = 0; pause < 100; ++pause) {
        const double start = runtime.clock();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lateness.push_back(runtime.clock() - start - 0.02);
    }
    report("sleep_p99", percentile(lateness, 0.99) * 1000.0);

    // No difficulty: turns as fast as the machine allows. Resident memory is sampled by a
    // timer, which the game's servicing of the window lets run.
    list->clearSelection();
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
    if (qEnvironmentVariableIsSet("VANTOKE_BENCH_TIMELINE"))
        reportScreenTimes(turns, qEnvironmentVariable("VANTOKE_BENCH_TIMELINE"));
    return 0;
}
