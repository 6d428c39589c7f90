// Runs one worksheet job of case I on the default printer (or a PDF file), as "&OK" would,
// and says how it went: the end-to-end test drives the print path through it.
//   print_job COLUMNS BLOCKS COPIES [PDF-FILE]
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <memory>

#include "printing/worksheet/qt_sheet_printer.h"
#include "printing/worksheet/worksheet.h"

using namespace ripartino;

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: print_job COLUMNS BLOCKS COPIES [PDF-FILE]\n", stderr);
        return 2;
    }
    WorksheetOptions options;
    options.columns = arguments[1].toInt();
    options.blocks = arguments[2].toInt();
    options.copies = arguments[3].toDouble();

    CaseWindowStates windows;
    windows[0] = {"1", DivisorDigits::Mixed};
    RandomSource source;
    source.reseedFromClock();
    WorksheetTable table;
    const auto printer = arguments.size() > 4 ? std::make_unique<QtSheetPrinter>(arguments[4])
                                              : std::make_unique<QtSheetPrinter>();
    const PrintOutcome outcome = printWorksheets(options, windows, source, *printer, table, ",");
    for (int group = 1; group <= WorksheetTable::groups; ++group)
        for (int row = 1; row <= WorksheetTable::rows; ++row)
            std::printf("%d %d %s\n", group, row, table.slot(group, row)->c_str());
    switch (outcome) {
    case PrintOutcome::Done:
        return 0;
    case PrintOutcome::NoDefaultPrinter:
        std::fputs("no default printer\n", stderr);
        return 3;
    default:
        std::fputs("not printed\n", stderr);
        return 4;
    }
}
