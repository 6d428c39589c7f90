// One whole visit, the way a teacher uses the program: every case window in turn, invent,
// the copy view, a worksheet printed to PDF, back to the start window, and out by the exit
// button. Short enough to run under memcheck.

#include <QTemporaryDir>

#include "printing/qt_sheet_printer.h"
#include "support/windows_fixture.h"
#include "windows/print_window.h"

namespace ripartino {
namespace {

TEST_F(WindowsTest, EveryCaseInventedViewedPrintedToPdfThenExit)
{
    QTemporaryDir folder;
    int jobs = 0;
    windows.setPrinterFactory(
        [&] { return std::make_unique<QtSheetPrinter>(folder.filePath(QString::number(++jobs))); });

    for (const DivisionCase divisionCase : allCases) {
        CaseWindow& caseWindow = openCase(divisionCase);
        click(&caseWindow, "twoDigitsOption", "inventButton", "viewButton", "okButton", "printButton");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.openPrintWindow()));
        click(windows.openPrintWindow(), "twoColumnsOption", "operations20Option", "okButton");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !windows.printService().running(); }, 30000));
        EXPECT_GT(QFileInfo(folder.filePath(QString::number(jobs))).size(), 0) << caseNumeral(divisionCase);
        click(&caseWindow, "backButton");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.openStartWindow()));
    }
    EXPECT_EQ(jobs, 5);
    // The exit button ends the event loop at once.
    EXPECT_EQ(runUntilTheProgramEnds([this] { click(windows.openStartWindow(), "exitButton"); }), 0);
}

}  // namespace
}  // namespace ripartino
