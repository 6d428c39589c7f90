// What one round trip to a case window costs in memory: the start window opens case window
// I ("I caso"), which is painted and then left with "Fine", back to a fresh start window.
// After a warm-up, reports how much the resident set and the heap in use grew per cycle;
// a program used all morning should stay flat. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise.
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include "core/random_source.h"
#include "ui/look.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

using namespace ripartino;

namespace {

double residentBytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

double heapInUseBytes() { return static_cast<double>(mallinfo2().uordblks); }

void clickOn(QWidget* window, const char* name)
{
    QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}

// Start window -> case window I, painted -> "Fine" -> start window, painted; the closed
// windows are deleted before the next round.
void roundTrip(ProgramWindows& windows)
{
    clickOn(windows.openStartWindow(), "case1Button");
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    if (!QTest::qWaitForWindowExposed(caseWindow))
        std::abort();
    caseWindow->repaint();
    clickOn(caseWindow, "backButton");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    windows.openStartWindow()->repaint();
}

void caseWindowCycle(benchmark::State& state)
{
    RandomSource source;
    ProgramWindows windows(source, systemDecimalSeparator());
    windows.startWindow().show();
    if (!QTest::qWaitForWindowExposed(&windows.startWindow()))
        std::abort();
    for (int warmUp = 0; warmUp < 300; ++warmUp)
        roundTrip(windows);

    const double resident = residentBytes();
    const double heap = heapInUseBytes();
    for (auto _ : state)
        roundTrip(windows);
    const auto cycles = static_cast<double>(state.iterations());
    state.counters["rss_B_per_cycle"] = (residentBytes() - resident) / cycles;
    state.counters["heap_B_per_cycle"] = (heapInUseBytes() - heap) / cycles;
    state.counters["rss_MiB"] = residentBytes() / (1024.0 * 1024.0);
}
BENCHMARK(caseWindowCycle)->Iterations(1500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(look::applicationIcon());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
