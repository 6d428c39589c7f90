// Start-up of Ripartino beside a bare Qt program that shows one empty window of the same
// size: the time from process start to the first expose of the window, and the peak
// memory. Each repetition starts a fresh process (this program, with --show); the
// benchmark reports medians. Runs offscreen unless QT_QPA_PLATFORM says otherwise.
// A third program shows the bare window with one line of text: the least any window with
// text pays, since the first text drawn loads the system's font configuration.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QWindow>

#include <benchmark/benchmark.h>

#include "core/random_source.h"
#include "ui/look.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace {

std::string self;

long long monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Ends the process once the window has handled its first expose (Qt paints it there and
// then), reporting the moment and the peak memory.
class FirstExpose : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            QMetaObject::invokeMethod(
                this,
                [] {
                    rusage usage{};
                    getrusage(RUSAGE_SELF, &usage);
                    std::printf("%lld %ld\n", monotonicNanoseconds(), usage.ru_maxrss);
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

enum class Shown { Bare, BareWithText, Ripartino };

// The child: what the program's main does, or a bare window, empty or with one label.
int show(Shown shown, int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstExpose watcher;
    if (shown != Shown::Ripartino) {
        QWidget window;
        window.setFixedSize(491, 442);
        if (shown == Shown::BareWithText)
            new QLabel(QStringLiteral("Ripartino"), &window);
        window.winId();
        window.windowHandle()->installEventFilter(&watcher);
        window.show();
        return app.exec();
    }
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    ripartino::look::speakItalian();
    ripartino::RandomSource source;
    ripartino::ProgramWindows windows(source, ripartino::systemDecimalSeparator());
    ripartino::StartWindow& start = windows.startWindow();
    start.winId();
    start.windowHandle()->installEventFilter(&watcher);
    start.show();
    return app.exec();
}

void startUp(benchmark::State& state, const char* shown)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string command = "exec '" + self + "' --show " + shown + " 2>/dev/null";
    for (auto _ : state) {
        const long long started = monotonicNanoseconds();
        FILE* child = popen(command.c_str(), "r");
        long long exposed = 0;
        long peakKilobytes = 0;
        const bool read = child && std::fscanf(child, "%lld %ld", &exposed, &peakKilobytes) == 2;
        if (child)
            pclose(child);
        if (!read) {
            state.SkipWithError("the child reported nothing");
            return;
        }
        state.SetIterationTime(static_cast<double>(exposed - started) / 1e9);
        state.counters["peak_rss_MiB"] = static_cast<double>(peakKilobytes) / 1024.0;
    }
}

// Each a start of its own, eleven times, reported by the quickest.
void elevenColdStarts(benchmark::internal::Benchmark* startUps)
{
    startUps->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(11)
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ReportAggregatesOnly(true);
}

}  // namespace

BENCHMARK_CAPTURE(startUp, bare_qt_window, "bare")->Apply(elevenColdStarts);
BENCHMARK_CAPTURE(startUp, bare_qt_window_with_text, "text")->Apply(elevenColdStarts);
BENCHMARK_CAPTURE(startUp, ripartino, "ripartino")->Apply(elevenColdStarts);

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--show") == 0) {
        const Shown shown = std::strcmp(argv[2], "bare") == 0 ? Shown::Bare
            : std::strcmp(argv[2], "text") == 0               ? Shown::BareWithText
                                                              : Shown::Ripartino;
        return show(shown, argc, argv);
    }
    self = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
