// One whole visit, the way a teacher uses the program: every case window in turn, invent,
// the copy view, a worksheet printed to PDF, back to the start window, and out by the exit
// button. Short enough to run under memcheck.

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "support/windows_fixture.h"
#include "windows/print_window.h"
#include "printing/qt_sheet_printer.h"

namespace ripartino {
namespace {

TEST_F(WindowsTest, EveryCaseInventedViewedPrintedToPdfThenExit)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    int jobs = 0;
    windows.setPrinterFactory([&] {
        return std::make_unique<QtSheetPrinter>(folder.filePath(QStringLiteral("sheet%1.pdf").arg(++jobs)));
    });

    for (const DivisionCase divisionCase : allCases) {
        SCOPED_TRACE(caseNumeral(divisionCase));
        CaseWindow& caseWindow = openCase(divisionCase);
        click(&caseWindow, "opt2");
        click(&caseWindow, "cmdinventa");
        click(&caseWindow, "cmdvedi");
        click(&caseWindow, "cmdok");
        click(&caseWindow, "cmdstampa");

        PrintWindow* printWindow = windows.openPrintWindow();
        ASSERT_TRUE(printWindow && QTest::qWaitForWindowExposed(printWindow));
        click(printWindow, "optc2");
        click(printWindow, "opt20");
        auto* copies = control<QLineEdit>(printWindow, "txtcop");
        copies->selectAll();
        QTest::keyClicks(copies, "2");
        click(printWindow, "cmdok");
        EXPECT_FALSE(windows.openPrintWindow() && windows.openPrintWindow()->isVisible());
        EXPECT_GT(QFileInfo(folder.filePath(QStringLiteral("sheet%1.pdf").arg(jobs))).size(), 0);

        click(&caseWindow, "cmdfine");
        ASSERT_NE(windows.openStartWindow(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.openStartWindow()));
    }
    EXPECT_EQ(jobs, 5);

    // The exit button ends the event loop at once.
    QTimer::singleShot(0, [this] { click(windows.openStartWindow(), "cmdesci"); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(-1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace ripartino
