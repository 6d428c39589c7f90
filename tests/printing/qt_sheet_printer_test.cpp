#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <set>

#include "printing/worksheet/qt_sheet_printer.h"
#include "printing/worksheet/worksheet.h"
#include "support/pdf_reading.h"
#include "windows/look.h"

using namespace ripartino;

namespace {

const std::string heading = "Calcola le seguenti operazioni:";
const std::string longHeading = [] {
    std::string words = "Parola1";
    for (int word = 2; word <= 40; ++word)
        words += " parola" + std::to_string(word);
    return words;
}();
const QMarginsF usual(28.35, 14.17, 28.35, 14.17);  // 10 mm at the sides, 5 mm at top and bottom
const QMarginsF inkjet(18, 36, 18, 36);             // an imageable area of 18 36 577 806 on A4

struct PaperRow {
    const char* name;
    QPageSize::PageSizeId paper;
    QMarginsF least;  // what the printer cannot print on
    int columns;
    int blocks;
    std::string heading;
    int pagesPerCopy;
};

class SheetOnPaper : public testing::TestWithParam<PaperRow> {};

// Two copies to a PDF, read back: every page, word, font and place on it.
TEST_P(SheetOnPaper, CarriesTheWholeSheetInsideThePrintableArea)
{
    const PaperRow& row = GetParam();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    RandomSource source;
    source.seed(2024);
    CaseWindowStates windows;
    windows[0] = {"1", DivisorDigits::Mixed};
    WorksheetTable table;
    {
        QtSheetPrinter printer(pdf, QPageSize(row.paper));
        printer.setMinimumMargins(row.least);
        ASSERT_EQ(printWorksheets({row.columns, row.blocks, 2, row.heading}, windows, source, printer, table, ","),
                  PrintOutcome::Done);
    }
    EXPECT_EQ(pageCount(pdf), 2 * row.pagesPerCopy);

    // Each line of the sheet once per copy, whole, the two columns side by side.
    QString text = "\n";
    for (const QString& line : run("pdftotext", {"-layout", pdf, "-"}).split('\n'))
        if (!line.trimmed().isEmpty())
            text += line.simplified() + '\n';
    EXPECT_EQ(QString(text).remove(' ').remove('\n').count(QString::fromStdString(row.heading).remove(' ')), 2);
    const auto exercise = [&](int group, int r) { return QString::fromStdString(*table.slot(group, r)) + " ........"; };
    for (int k = 1; k <= row.blocks; ++k) {
        EXPECT_EQ(text.count(row.columns == 1 ? QString("\n%1)\n").arg(k) : QString("\n%1) %2)\n").arg(2 * k - 1).arg(2 * k)), 2);
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(text.count('\n' + exercise(2 * k - 1, r)
                                 + (row.columns == 2 ? ' ' + exercise(2 * k, r) : QString()) + '\n'),
                      2);
    }

    // Inside the printable area; each copy from a fresh page; right-hand block numbers two
    // zones of 14 average Arial 15 widths from the left edge, where the sheet is not shrunk.
    QPdfWriter reference(dir.filePath("reference.pdf"));
    reference.setResolution(72);
    QFont arial(look::fontFamily("Arial"));
    arial.setPointSizeF(15);
    const double zone = 14 * QFontMetricsF(arial, &reference).averageCharWidth();
    const QMarginsF margins(std::max(usual.left(), row.least.left()), std::max(usual.top(), row.least.top()),
                            std::max(usual.right(), row.least.right()), std::max(usual.bottom(), row.least.bottom()));
    const QRectF printable = QRectF(QPointF(), QPageSize(row.paper).size(QPageSize::Point)).marginsRemoved(margins);
    std::set<int> headingPages;
    for (const PdfWord& word : pdfWords(pdf)) {
        EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1).contains(QRectF(QPointF(word.xMin, word.yMin), QPointF(word.xMax, word.yMax))))
            << word.text.toStdString() << " on page " << word.page;
        if (word.text.startsWith(QString::fromStdString(row.heading.substr(0, 7))))
            headingPages.insert(word.page);
        if (row.columns == 2 && row.least.isNull() && QStringList({"2)", "4)", "6)", "8)"}).contains(word.text)) {
            EXPECT_NEAR(word.xMin - margins.left(), 2 * zone, 0.5);
        }
    }
    EXPECT_EQ(headingPages, (std::set<int>{1, row.pagesPerCopy + 1}));

    const QString fonts = run("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains(look::fontFamily("Comic Sans MS").remove(' '), Qt::CaseInsensitive));
    EXPECT_TRUE(fonts.contains(look::fontFamily("Arial").remove(' '), Qt::CaseInsensitive));
}

const PaperRow paperRows[] = {
    {"A4TwoColumnsOfForty", QPageSize::A4, {}, 2, 4, heading, 1},
    {"A4OneColumnOfTen", QPageSize::A4, {}, 1, 1, heading, 1},
    // Shrunk to fit the wider margins rather than spill its last rows onto a page of their own.
    {"A4InkjetTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, heading, 1},
    {"A4InkjetOneColumnOfForty", QPageSize::A4, inkjet, 1, 4, heading, 1},
    // Too long for the paper even with narrow margins: goes on on a second page.
    {"LetterTwoColumnsOfForty", QPageSize::Letter, {}, 2, 4, heading, 2},
    {"A5OneColumnOfForty", QPageSize::A5, {}, 1, 4, heading, 2},
    {"A6OneColumnOfTen", QPageSize::A6, {}, 1, 1, heading, 1},
    // A heading wider than the paper goes on on further lines, a word wider than it too.
    {"LongHeading", QPageSize::A4, inkjet, 1, 1, longHeading, 1},
    {"LongWordHeading", QPageSize::A4, {}, 1, 2, std::string(25, '0') + std::string(300, 'w'), 1},
    {"LongHeadingTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, longHeading, 2},
};
INSTANTIATE_TEST_SUITE_P(Rows, SheetOnPaper, testing::ValuesIn(paperRows), [](const auto& row) { return row.param.name; });

TEST(QtSheetPrinter, AJobWithNothingPrintedWritesNothing)
{
    QTemporaryDir dir;
    RandomSource source;
    CaseWindowStates windows;
    windows[0] = {"1", DivisorDigits::Mixed};
    WorksheetTable table;
    QtSheetPrinter printer(dir.filePath("none.pdf"));
    EXPECT_EQ(printWorksheets({1, 1, 0, heading}, windows, source, printer, table, ","), PrintOutcome::Done);
    EXPECT_FALSE(QFile::exists(dir.filePath("none.pdf")));
}

}  // namespace

int main(int argc, char* argv[])
{
    // Test discovery runs without the ctest environment, and needs no display either.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
