// A whole worksheet job (two columns of 40, ten copies) to a PDF file, beside a bare loop
// that paints the same ten pages of text with QPainter directly, on the same paper at the
// same resolution. The job should stay within 1.15 times the bare loop. A job of 999
// copies with and without the solution sheet after them, which should cost about one sheet
// more; and of 999 different copies with their key, which may cost the inventing, the
// laying out of each copy and the longer key, and the inventing alone.
// How long the windows go unpainted after "&OK" on a job of 999 copies of two columns of
// 40; and from "Annulla" to the progress dialog gone, with the printer drawing and with it
// stuck, as behind a print service that has stopped.
#include <semaphore>

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include "printing/fonts.h"
#include "printing/qt_sheet_printer.h"
#include "printing/worksheet.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

using namespace ripartino;

namespace {

const WorksheetOptions twoColumnsOfForty{2, 4, 10, "Calcola le seguenti operazioni:"};

// The case I window, marked for printing, with "Misto" chosen.
const MarkedCase caseOne{DivisionCase::I, DivisorDigits::Mixed};

// A job as the print service runs it, on the GUI thread: the invention, then the copies.
void runJob(const WorksheetOptions& options, RandomSource& source, SheetPrinter& printer, WorksheetVersions& versions)
{
    if (prepareSheets(options, &caseOne, source, versions, ",") == PrintOutcome::Done)
        printSheets(options, versions, printer);
}

// Runs `options` as a job into a PDF file, once an iteration, on one random source.
void runJobs(benchmark::State& state, const WorksheetOptions& options)
{
    QTemporaryDir dir;
    RandomSource source;
    source.seed(1);
    WorksheetVersions versions;
    for (auto _ : state) {
        QtSheetPrinter printer(dir.filePath("job.pdf"));
        runJob(options, source, printer, versions);
    }
}

void printJob(benchmark::State& state) { runJobs(state, twoColumnsOfForty); }
BENCHMARK(printJob)->Unit(benchmark::kMillisecond);

// Two columns of 40 under a heading of range(0) characters, range(1) copies.
void longHeadingJob(benchmark::State& state)
{
    WorksheetOptions options = twoColumnsOfForty;
    options.heading.assign(static_cast<std::size_t>(state.range(0)), 'W');
    options.copies = static_cast<double>(state.range(1));
    runJobs(state, options);
}
BENCHMARK(longHeadingJob)->Args({32767, 999})->Args({1 << 20, 10})->Unit(benchmark::kSecond)->Iterations(1);

// 999 copies of two columns of 40, with (range(0) = 1) or without the solution sheet;
// with range(1) = 1 each copy a version of its own, and the solutions their key.
void thousandCopiesJob(benchmark::State& state)
{
    WorksheetOptions options = twoColumnsOfForty;
    options.copies = maximumCopies;
    options.solutions = state.range(0) == 1;
    options.different = state.range(1) == 1;
    runJobs(state, options);
}
BENCHMARK(thousandCopiesJob)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->ArgNames({"solutions", "different"})
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

// The inventing alone of 999 different copies (range(0) = 1) or of the one sheet of identical
// ones: what the versions add before anything is drawn.
void inventForAThousandCopies(benchmark::State& state)
{
    RandomSource source;
    source.seed(1);
    WorksheetOptions options = twoColumnsOfForty;
    options.copies = maximumCopies;
    options.different = state.range(0) == 1;
    WorksheetVersions versions;
    for (auto _ : state)
        benchmark::DoNotOptimize(prepareSheets(options, &caseOne, source, versions, ","));
}
BENCHMARK(inventForAThousandCopies)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void barePainting(benchmark::State& state)
{
    QTemporaryDir dir;
    RandomSource source;
    source.seed(1);
    WorksheetVersions versions;
    WorksheetOptions noCopies = twoColumnsOfForty;
    noCopies.copies = 0;
    {
        // The same exercises, invented without printing.
        struct Nothing : SheetPrinter {
            void setFontName(const std::string&) override {}
            void setFontSize(double) override {}
            void printLine(const PrintLine&) override {}
            void setSheetCode(const std::string&) override {}
            void newPage() override {}
            void endDocument() override {}
            PrintOutcome status() const override { return PrintOutcome::Done; }
        } nothing;
        runJob(noCopies, source, nothing, versions);
    }
    QStringList left;
    QStringList right;
    for (int group = 1; group <= 8; group += 2)
        for (int row = 1; row <= 10; ++row) {
            left << "        " + QString::fromStdString(*versions[0].slot(group, row)) + " ........";
            right << "     " + QString::fromStdString(*versions[0].slot(group + 1, row)) + " ........";
        }

    QFont heading(fontFamily("Comic Sans MS"));
    heading.setPointSizeF(18);
    QFont exercises(fontFamily("Arial"));
    exercises.setPointSizeF(15);
    for (auto _ : state) {
        QPdfWriter printer(dir.filePath("bare.pdf"));
        printer.setResolution(1200);
        printer.setPageLayout(QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)));
        QPainter painter(&printer);
        const qreal line = QFontMetricsF(exercises, &printer).lineSpacing();
        const qreal column = printer.width() / 2.0;
        for (int page = 0; page < 10; ++page) {
            if (page > 0)
                printer.newPage();
            painter.setFont(heading);
            painter.drawText(QPointF(0, 2 * line), "  Calcola le seguenti operazioni:");
            painter.setFont(exercises);
            qreal y = 4 * line;
            for (int i = 0; i < left.size(); ++i) {
                if (i % 10 == 0) {
                    painter.drawText(QPointF(0, y), "   " + QString::number(i / 5 + 1) + ")");
                    painter.drawText(QPointF(column, y), QString::number(i / 5 + 2) + ")");
                    y += line;
                }
                painter.drawText(QPointF(0, y), left[i]);
                painter.drawText(QPointF(column, y), right[i]);
                y += line;
            }
        }
    }
}
BENCHMARK(barePainting)->Unit(benchmark::kMillisecond);

// Notes when the first paint after `armed` reaches the watched window.
struct FirstPaint : QObject {
    QElapsedTimer clock;
    qint64 after = -1;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && after < 0)
            after = clock.nsecsElapsed();
        return false;
    }
};

void click(const QWidget* window, const char* name)
{
    QTest::mouseClick(window->findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
}

// The print window opened from `caseWindow`, set for 999 copies of two columns of 40.
PrintWindow* openForAThousandCopies(ProgramWindows& windows, CaseWindow& caseWindow)
{
    click(&caseWindow, "printButton");
    PrintWindow* print = windows.openPrintWindow();
    (void)QTest::qWaitForWindowExposed(print);
    click(print, "operations40Option");
    click(print, "twoColumnsOption");
    print->findChild<QLineEdit*>(QStringLiteral("copiesField"))->setText(QStringLiteral("999"));
    return print;
}

// From the click on "&OK" (999 copies of two columns of 40, to a PDF file) to the first
// paint of the case window behind, which asked to be painted just before the click.
void firstPaintAfterOk(benchmark::State& state)
{
    QTemporaryDir dir;
    RandomSource source;
    ProgramWindows windows(source, ",");
    windows.setPrinterFactory([&dir] { return std::make_unique<QtSheetPrinter>(dir.filePath("job.pdf")); });
    windows.startWindow().show();
    click(windows.openStartWindow(), "case1Button");
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    (void)QTest::qWaitForWindowExposed(caseWindow);
    click(caseWindow, "inventButton");
    FirstPaint paint;
    caseWindow->installEventFilter(&paint);
    for (auto _ : state) {
        PrintWindow* print = openForAThousandCopies(windows, *caseWindow);
        QApplication::processEvents();
        caseWindow->update();
        paint.after = -1;
        paint.clock.start();
        click(print, "okButton");
        (void)QTest::qWaitFor([&] { return !windows.openPrintWindow() && paint.after >= 0; }, 60000);
        state.SetIterationTime(static_cast<double>(paint.after) / 1e9);
    }
}
BENCHMARK(firstPaintAfterOk)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// A printer stuck in its first line until released; its state is shared with the worker.
struct Stuck {
    std::binary_semaphore open{0};
};
struct StuckPrinter : SheetPrinter {
    explicit StuckPrinter(std::shared_ptr<Stuck> stuck) : stuck(std::move(stuck)) {}
    void setFontName(const std::string&) override {}
    void setFontSize(double) override {}
    void printLine(const PrintLine&) override { stuck->open.acquire(), stuck->open.release(); }
    void setSheetCode(const std::string&) override {}
    void newPage() override {}
    void endDocument() override {}
    PrintOutcome status() const override { return PrintOutcome::Done; }
    std::shared_ptr<Stuck> stuck;
};

// From the click on "Annulla" to the progress dialog gone, on a job of 999 copies of two
// columns of 40: range(0) 0 draws into a PDF file, 1 is stuck in the printer.
void annullaToGone(benchmark::State& state)
{
    QTemporaryDir dir;
    RandomSource source;
    ProgramWindows windows(source, ",");
    const bool stuckPrinter = state.range(0) == 1;
    auto stuck = std::make_shared<Stuck>();
    windows.setPrinterFactory([&]() -> std::unique_ptr<SheetPrinter> {
        if (stuckPrinter)
            return std::make_unique<StuckPrinter>(stuck);
        return std::make_unique<QtSheetPrinter>(dir.filePath("job.pdf"));
    });
    windows.startWindow().show();
    click(windows.openStartWindow(), "case1Button");
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    (void)QTest::qWaitForWindowExposed(caseWindow);
    click(caseWindow, "inventButton");
    for (auto _ : state) {
        PrintWindow* print = openForAThousandCopies(windows, *caseWindow);
        click(print, "okButton");
        QProgressDialog* progress = nullptr;
        (void)QTest::qWaitFor(
            [&] { return (progress = print->findChild<QProgressDialog*>()) && progress->isVisible(); }, 10000);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        (void)QTest::qWaitFor([&] { return !progress->isVisible(); }, 10000);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        stuck->open.release();
        print->close();
        (void)QTest::qWaitFor([&] { return !windows.openPrintWindow(); }, 10000);
        stuck = std::make_shared<Stuck>();
    }
}
BENCHMARK(annullaToGone)->Arg(0)->Arg(1)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
