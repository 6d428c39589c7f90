#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "printing/qt_sheet_printer.h"
#include "printing/worksheet.h"
#include "support/pdf_reading.h"
#include "printing/fonts.h"

using namespace ripartino;

namespace {

const std::string heading = "Calcola le seguenti operazioni:";
const std::string longHeading = "Calcola le seguenti divisioni con attenzione, scrivi il risultato sui puntini e "
                                "controlla ogni operazione con la prova prima di consegnare il foglio alla maestra";
const QMarginsF usual(28.35, 14.17, 28.35, 14.17);  // 10 mm at the sides, 5 mm at top and bottom
const QMarginsF inkjet(28.35, 36, 28.35, 36);       // an imageable area of 18 36 577 806 on A4

struct PaperRow {
    const char* name;
    QPageSize::PageSizeId paper;
    QMarginsF margins;  // what the printer cannot print on
    int columns;
    int blocks;
    std::string heading;
    int pagesPerCopy;  // none: the job prints no copy
};

class SheetOnPaper : public testing::TestWithParam<PaperRow> {};

// Two copies to a PDF, read back: every page, line, font and place on it.
TEST_P(SheetOnPaper, CarriesTheWholeSheetInsideThePrintableArea)
{
    const PaperRow& row = GetParam();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    RandomSource source;
    source.seed(2024);
    const MarkedCase caseOne{DivisionCase::I, DivisorDigits::Mixed};
    WorksheetTable table;
    // A printer that cannot print near the edges: its least margins come in points.
    QtSheetPrinter printer(pdf, QtSheetPrinter::pageLayout(QPageSize(row.paper), row.margins * (25.4 / 72)));
    const WorksheetOptions options{row.columns, row.blocks, row.pagesPerCopy ? 2.0 : 0.0, row.heading};
    ASSERT_EQ(prepareSheets(options, &caseOne, source, table, ","), PrintOutcome::Done);
    ASSERT_EQ(printSheets(options, table, printer), PrintOutcome::Done);
    ASSERT_EQ(QFile::exists(pdf), row.pagesPerCopy > 0);
    if (!row.pagesPerCopy)
        return;
    // Each copy from a fresh page, and no blank page after the last.
    EXPECT_EQ(run("pdftotext", {"-bbox", pdf, "-"}).count("<page "), 2 * row.pagesPerCopy);

    // Each line of the sheet once per copy, whole, the two columns side by side.
    QString text = "\n";
    for (const QString& line : run("pdftotext", {"-layout", pdf, "-"}).split('\n'))
        if (!line.trimmed().isEmpty())
            text += line.simplified() + '\n';
    EXPECT_EQ(QString(text).remove(' ').remove('\n').count(QString::fromStdString(row.heading).remove(' ')), 2);
    const auto exercise = [&](int group, int r) { return QString::fromStdString(*table.slot(group, r)) + " ........"; };
    for (int k = 1; k <= row.blocks; ++k) {
        EXPECT_EQ(
            text.count(row.columns == 1 ? QString("\n%1)\n").arg(k) : QString("\n%1) %2)\n").arg(2 * k - 1).arg(2 * k)),
            2);
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(
                text.count('\n' + exercise(2 * k - 1, r) + (row.columns == 2 ? ' ' + exercise(2 * k, r) : "") + '\n'),
                2);
    }

    // Inside the printable area; right-hand block numbers two zones of 14 average Arial 15
    // widths from the left edge, where the sheet is not shrunk.
    QPdfWriter reference(dir.filePath("reference.pdf"));
    reference.setResolution(72);
    const QFont arial(fontFamily("Arial"), 15);
    const double zone = 14 * QFontMetricsF(arial, &reference).averageCharWidth();
    const QRectF printable = QRectF(QPointF(), QPageSize(row.paper).size(QPageSize::Point)).marginsRemoved(row.margins);
    for (const PdfWord& word : pdfWords(pdf)) {
        EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1)
                        .contains(QRectF(QPointF(word.xMin, word.yMin), QPointF(word.xMax, word.yMax))))
            << word.text.toStdString() << " on page " << word.page;
        if (row.columns == 2 && row.margins == usual && QStringList({"2)", "4)", "6)", "8)"}).contains(word.text)) {
            EXPECT_NEAR(word.xMin - usual.left(), 2 * zone, 0.5);
        }
    }
    for (const char* face : {"Comic Sans MS", "Arial"})
        EXPECT_TRUE(run("pdffonts", {pdf}).contains(fontFamily(face).remove(' '), Qt::CaseInsensitive)) << face;
}

const PaperRow paperRows[] = {
    {"A4TwoColumnsOfForty", QPageSize::A4, usual, 2, 4, heading, 1},
    {"NoCopiesWritesNothing", QPageSize::A4, usual, 2, 4, heading, 0},
    // Shrunk to fit wider margins rather than spill its last rows onto a page of their own,
    // or run off the right edge.
    {"A4InkjetTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, heading, 1},
    {"A4WideMarginsTwoColumnsOfForty", QPageSize::A4, QMarginsF(108, 36, 108, 36), 2, 4, heading, 1},
    // Too long for the paper even with narrow margins: goes on on a second page.
    {"LetterTwoColumnsOfForty", QPageSize::Letter, usual, 2, 4, heading, 2},
    {"A5OneColumnOfForty", QPageSize::A5, usual, 1, 4, heading, 2},
    {"A6OneColumnOfTen", QPageSize::A6, usual, 1, 1, heading, 1},
    // A heading wider than the paper goes on on further lines, a word wider than it too.
    {"LongHeadingTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, longHeading, 2},
    {"LongWordHeading", QPageSize::A4, usual, 1, 2, std::string(25, '0') + std::string(300, 'w'), 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, SheetOnPaper, testing::ValuesIn(paperRows),
                         [](const auto& row) { return row.param.name; });

}  // namespace
