#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "printing/fonts.h"
#include "printing/qt_sheet_printer.h"
#include "printing/worksheet.h"
#include "support/pdf_reading.h"

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
    int pagesPerCopy;   // none: the job prints no copy
    double leastScale;  // 1: at full size, every place where the print zones put it
    MarkedCase marked = {DivisionCase::I, DivisorDigits::Mixed};
    bool solutions = false;
};

class SheetOnPaper : public testing::TestWithParam<PaperRow> {};
void PrintTo(const PaperRow& row, std::ostream* out) { *out << row.name; }

// Two copies to a PDF, read back: every page, line, font and place on it.
TEST_P(SheetOnPaper, CarriesTheWholeSheetInsideThePrintableArea)
{
    const PaperRow& row = GetParam();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    RandomSource source;
    source.seed(2024);
    WorksheetTable table;
    // A printer that cannot print near the edges: its least margins come in points.
    QtSheetPrinter printer(pdf, QtSheetPrinter::pageLayout(QPageSize(row.paper), row.margins * (25.4 / 72)));
    const WorksheetOptions options{row.columns, row.blocks, row.pagesPerCopy ? 2.0 : 0.0, row.heading, row.solutions};
    ASSERT_EQ(prepareSheets(options, &row.marked, source, table, ","), PrintOutcome::Done);
    ASSERT_EQ(printSheets(options, table, printer), PrintOutcome::Done);
    ASSERT_EQ(QFile::exists(pdf), row.pagesPerCopy > 0);
    if (!row.pagesPerCopy)
        return;
    // Each copy from a fresh page, and no blank page after the last.
    EXPECT_EQ(run("pdftotext", {"-bbox", pdf, "-"}).count("<page "), 2 * row.pagesPerCopy + row.solutions);
    const int sheets = 2 + row.solutions;

    // Each line of the sheet once per copy, whole, the two columns side by side.
    QString text = '\n' + run("pdftotext", {"-layout", pdf, "-"}) + '\n';
    text.replace(QRegularExpression("\\s*\n\\s*"), "\n").replace(QRegularExpression(" +"), " ");
    EXPECT_EQ(QString(text).remove(' ').remove('\n').count(QString::fromStdString(row.heading).remove(' ')), sheets);
    const auto exercise = [&](int group, int r) { return QString::fromStdString(*table.slot(group, r)) + " ........"; };
    const auto copiesOf = [&](const QString& line) { return text.count('\n' + line + '\n'); };
    for (int k = 1; k <= row.blocks; ++k) {
        EXPECT_EQ(copiesOf(row.columns == 1 ? QString("%1)").arg(k) : QString("%1) %2)").arg(2 * k - 1).arg(2 * k)),
                  sheets);
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(copiesOf(exercise(2 * k - 1, r) + (row.columns == 2 ? ' ' + exercise(2 * k, r) : "")), 2);
    }

    // The sheet's scale from the height of "1)"; in it, right-hand block numbers
    // two zones of 14 average Arial 15 widths from the left edge, and right-hand exercises
    // at the zone after the end of their left-hand ones, never left of the number above.
    QPdfWriter reference(dir.filePath("reference.pdf"));
    reference.setResolution(72);
    const QFontMetricsF arial(QFont(fontFamily("Arial"), 15), &reference);
    const double left = row.margins.left();
    const double blanks = arial.horizontalAdvance("     ");  // before a right-hand exercise
    const std::vector<PdfWord> words = pdfWords(pdf);
    const auto one = std::find_if(words.begin(), words.end(), [](const PdfWord& word) { return word.text == "1)"; });
    ASSERT_NE(one, words.end());
    const double scale = (one->yMax - one->yMin) / (arial.ascent() + arial.descent());
    EXPECT_GE(scale, row.leastScale - 0.002);
    const double zone = 14 * arial.averageCharWidth() * scale;
    const QRectF printable = QRectF(QPointF(), QPageSize(row.paper).size(QPageSize::Point)).marginsRemoved(row.margins);
    for (const PdfWord& word : words) {
        EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1)
                        .contains(QRectF(QPointF(word.xMin, word.yMin), QPointF(word.xMax, word.yMax))))
            << word.text.toStdString() << " on page " << word.page;
        if (row.columns == 2 && word.page <= 2 && QStringList({"2)", "4)", "6)", "8)"}).contains(word.text)) {
            EXPECT_NEAR(word.xMin - left, 2 * zone, 0.5) << word.text.toStdString();
        }
        // A heading too wide for the paper goes on where it starts.
        if (word.page == one->page && word.yMax <= one->yMin
            && (&word == words.data() || (&word)[-1].yMin != word.yMin)) {
            EXPECT_NEAR(word.xMin, words.front().xMin, 0.5) << "heading row from " << word.text.toStdString();
        }
        if (word.text != "........")
            continue;
        // The right-hand exercise on the line, if any, at the zone after this left-hand one.
        const PdfWord* right = nullptr;
        for (const PdfWord& other : words)
            if (other.page == word.page && std::abs(other.yMin - word.yMin) < 0.5 && other.xMin > word.xMax
                && (!right || other.xMin < right->xMin))
                right = &other;
        const double zones = std::max(std::floor((word.xMax - left) / zone) + 1, 2.0);
        if (right) {
            EXPECT_NEAR(right->xMin - left, zones * zone + blanks * scale, 0.5) << right->text.toStdString();
        }
    }
    // On the solution sheet each block's right-hand exercises stand in one column, however
    // long the answers on their left, never left of their number.
    const auto xOf = [&](const QString& text, double from) {
        const auto it = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) {
            return w.page == words.back().page && (text + ' ').startsWith(w.text + ' ') && w.xMin >= from - 0.5;
        });
        return it == words.end() ? -1.0 : it->xMin;
    };
    for (int k = 1; row.solutions && k <= row.blocks; ++k) {
        const double number = xOf(QString("%1)").arg(2 * k), 0);
        const auto start = [&](int r) { return xOf(QString::fromStdString(*table.slot(2 * k, r)), number); };
        for (int r = 1; r <= 10; ++r)
            EXPECT_NEAR(start(r), std::max(start(1), number), 0.5) << "block " << k << " row " << r;
    }
    for (const char* face : {"Comic Sans MS", "Arial"})
        EXPECT_TRUE(run("pdffonts", {pdf}).contains(fontFamily(face).remove(' '), Qt::CaseInsensitive)) << face;
}

const std::string nameClassDate = "Nome e cognome: ____ Classe: ____ Data: ____ Nome e cognome: ____ Classe: ____";
const PaperRow paperRows[] = {
    {"A4TwoColumnsOfForty", QPageSize::A4, usual, 2, 4, heading, 1, 1},
    {"NoCopiesWritesNothing", QPageSize::A4, usual, 2, 4, heading, 0, 1},
    // Short left-hand exercises: the right-hand ones still stand under "2)".
    // Its solution sheet too, each block's right-hand column straight behind long answers.
    {"A4SolutionsTwoColumnsOfForty", QPageSize::A4, usual, 2, 4, heading, 1, 1, {}, true},
    {"A4CaseVOneDigit", QPageSize::A4, usual, 2, 4, heading, 1, 1, {DivisionCase::V, DivisorDigits::OneDigit}},
    // Shrunk to fit wider margins rather than spill its last rows onto a page of their own,
    // or run off the right edge.
    {"A4WideMarginsTwoColumnsOfForty", QPageSize::A4, QMarginsF(108, 36, 108, 36), 2, 4, heading, 1, 0.5},
    // A few rows too long for the paper: shrunk a little onto one page.
    {"LetterTwoColumnsOfForty", QPageSize::Letter, usual, 2, 4, heading, 1, 0.75},
    {"A4TwoLineHeadingTwoColumnsOfForty", QPageSize::A4, usual, 2, 4, nameClassDate, 1, 0.75},
    // Too narrow for two columns side by side: shrunk to the width.
    {"A5TwoColumnsOfTen", QPageSize::A5, usual, 2, 1, heading, 1, 0.5},
    // Far too long for the paper: goes on on a second page at full size.
    {"A5OneColumnOfForty", QPageSize::A5, usual, 1, 4, heading, 2, 1},
    // A heading wider than the paper goes on on further lines, a word wider than it too.
    {"LongHeadingTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, longHeading, 1, 0.5},
    {"LongWordHeading", QPageSize::A4, usual, 1, 2, std::string(25, '0') + std::string(300, 'w'), 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, SheetOnPaper, testing::ValuesIn(paperRows),
                         [](const auto& row) { return row.param.name; });

}  // namespace
