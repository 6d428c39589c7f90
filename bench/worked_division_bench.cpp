// Opening the worked division's window on an exercise of each case and drawing every step of
// it, in the short and the long form: nothing a teacher at the board should wait for. Runs
// offscreen unless QT_QPA_PLATFORM says otherwise.
#include <cstdlib>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include "core/generators.h"
#include "windows/worked_division_window.h"

using namespace ripartino;

static void workEveryStep(benchmark::State& state)
{
    RandomSource source;
    source.seed(7);
    const std::string line =
        CaseGenerator(static_cast<DivisionCase>(state.range(0))).invent(DivisorDigits::Mixed, source, ",")[0].line;
    bool products = state.range(1) != 0;
    QWidget caseWindow;
    for (auto _ : state) {
        auto* window = new WorkedDivisionWindow(products, ",", &caseWindow);
        window->showLine(QString::fromStdString(line));
        window->show();
        auto* next = window->findChild<QPushButton*>(QStringLiteral("nextButton"));
        auto* paper = window->findChild<QWidget*>(QStringLiteral("paper"));
        benchmark::DoNotOptimize(paper->grab());
        while (next->isEnabled()) {
            QTest::mouseClick(next, Qt::LeftButton);
            benchmark::DoNotOptimize(paper->grab());
        }
        delete window;
    }
    state.SetLabel(line);
}

BENCHMARK(workEveryStep)
    ->ArgNames({"case", "products"})
    ->ArgsProduct({{1, 2, 3, 4, 5}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
