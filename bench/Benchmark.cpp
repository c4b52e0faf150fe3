// Measures the figures the README records: start-up to the first painted frame, idle memory,
// the CPU share and timing of a paced game, press-to-hidden latency, and a no-difficulty game.
#include "EventTable.h"
#include "Form1.h"
#include "QtRuntime.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
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

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

// Sends a left press to each lit square from another thread, at a random moment of its pause,
// the way the window system's input arrives, and times how long until the square hides.
class Presser : public QObject
{
public:
    Presser(Form1 &form, QtRuntime &runtime)
        : m_runtime(runtime)
    {
        for (int square = 1; square <= 6; ++square) {
            QWidget *widget = form.findChild<QWidget *>(QStringLiteral("pct%1").arg(square));
            widget->installEventFilter(this);
        }
        m_thread = std::thread([this] { run(); });
    }
    ~Presser() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    std::vector<double> latencies;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = static_cast<QWidget *>(watched);
        std::lock_guard lock(m_mutex);
        if (event->type() == QEvent::Show) {
            m_lit = widget;
            m_wake.notify_all();
        } else if (event->type() == QEvent::Hide && widget == m_pressed) {
            latencies.push_back(m_runtime.clock() - m_pressedAt);
            m_pressed = nullptr;
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
            if (m_quit)
                return;
            QWidget *target = std::exchange(m_lit, nullptr);
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
            lock.lock();
            m_pressed = target;
            m_pressedAt = m_runtime.clock();
            const QPointF centre(36, 36);
            QCoreApplication::postEvent(target,
                new QMouseEvent(
                    QEvent::MouseButtonPress, centre, centre, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        }
    }

    QtRuntime &m_runtime;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QWidget *m_lit = nullptr;
    QWidget *m_pressed = nullptr;
    double m_pressedAt = 0.0;
    bool m_quit = false;
    std::thread m_thread;
};

void idleFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QtRuntime runtime;
    Form1 form(runtime);
    connectEventTable(form);

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
    form.installEventFilter(&firstPaint);
    form.load();
    form.show();
    while (firstFrame == 0.0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    form.removeEventFilter(&firstPaint);
    std::printf("start-up to first frame: %.1f ms\n", firstFrame * 1000.0);

    idleFor(1.0);
    const double idleRss = residentMiB();
    std::printf("idle resident memory: %.1f MiB\n", idleRss);

    // The busy-wait reference: the pause as a spin that pumps and reads the clock, no sleep.
    auto *list = form.findChild<QListWidget *>(QStringLiteral("lst1"));
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
    double playedShare = 0.0;
    {
        Presser presser(form, runtime);
        playedShare = pacedGameShare();
        latencies = presser.latencies;
    }
    std::printf("CPU, paced \"Insane\" game: %.3f%% of a core watched, %.3f%% played; busy-wait reference %.1f%%; "
                "ratios %.5f and %.5f\n",
        watchedShare * 100.0, playedShare * 100.0, busyShare * 100.0, watchedShare / busyShare,
        playedShare / busyShare);
    std::printf("press to hidden, %zu presses: p50 %.3f ms, p99 %.3f ms, max %.3f ms (hits %d)\n", latencies.size(),
        percentile(latencies, 0.5) * 1000.0, percentile(latencies, 0.99) * 1000.0, percentile(latencies, 1.0) * 1000.0,
        form.game().state().points);

    // The game's pause, then the alternative to a precise wake: Qt's precise timer, which only
    // knows whole milliseconds, ends the sleep 2 ms early and a pumping spin does the rest.
    const auto measurePauses = [&runtime](const char *what, const std::function<void(double)> &pause) {
        std::vector<double> overruns;
        const double cpuAtStart = cpuSeconds();
        const double wallAtStart = runtime.clock();
        for (int count = 0; count < 200; ++count) {
            const double duration = 0.1;
            const double start = runtime.clock();
            pause(duration);
            overruns.push_back(runtime.clock() - start - duration);
        }
        const double share = (cpuSeconds() - cpuAtStart) / (runtime.clock() - wallAtStart);
        std::printf("%s, 200 pauses of 100 ms: overrun p50 %.3f ms, p99 %.3f ms, max %.3f ms; CPU %.3f%% of a core\n",
            what, percentile(overruns, 0.5) * 1000.0, percentile(overruns, 0.99) * 1000.0,
            percentile(overruns, 1.0) * 1000.0, share * 100.0);
    };
    measurePauses("pause with precise wake", [&form](double duration) { form.game().timeOut(duration); });
    measurePauses("pause with Qt's precise timer and a 2 ms spin", [&runtime](double duration) {
        const double deadline = runtime.clock() + duration;
        QEventLoop sleep;
        QTimer::singleShot(static_cast<int>((duration - 0.002) * 1000.0), Qt::PreciseTimer, &sleep, &QEventLoop::quit);
        sleep.exec();
        while (runtime.clock() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    });
    // The machine's own floor: how late a bare sleep of the kernel's wakes up.
    std::vector<double> lateness;
    for (int pause = 0; pause < 200; ++pause) {
        const double start = runtime.clock();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lateness.push_back(runtime.clock() - start - 0.02);
    }
    std::printf("bare kernel sleep lateness, 200 sleeps: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
        percentile(lateness, 0.5) * 1000.0, percentile(lateness, 0.99) * 1000.0, percentile(lateness, 1.0) * 1000.0);

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
    std::printf("no-difficulty game: %d turns; resident memory %.1f MiB before, peak growth %.1f MiB\n",
        form.game().state().squares, before, peak - before);
    return 0;
}
