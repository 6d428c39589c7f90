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
    int pagesPerCopy;   // none: the job prints no copy; -1: the paper is too small for it
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
    WorksheetVersions versions;
    // A printer that cannot print near the edges: its least margins come in points.
    QtSheetPrinter printer(pdf, QtSheetPrinter::pageLayout(QPageSize(row.paper), row.margins * (25.4 / 72)));
    const WorksheetOptions options{row.columns, row.blocks, row.pagesPerCopy ? 2.0 : 0.0, row.heading, row.solutions};
    ASSERT_EQ(prepareSheets(options, &row.marked, source, versions, ","), PrintOutcome::Done);
    ASSERT_EQ(printSheets(options, versions, printer),
              row.pagesPerCopy < 0 ? PrintOutcome::PaperTooSmall : PrintOutcome::Done);
    const WorksheetTable& table = versions.front();
    ASSERT_TRUE(row.pagesPerCopy < 0 || QFile::exists(pdf) == (row.pagesPerCopy > 0));
    if (row.pagesPerCopy <= 0)
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
    std::vector<int> dots(words.back().page + 1);  // by page, less ten for each block number
    for (const PdfWord& word : words) {
        dots[word.page] += word.text == "........" ? 1 : word.text.endsWith(')') ? -10 : 0;
        EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1)
                        .contains(QRectF(QPointF(word.xMin, word.yMin), QPointF(word.xMax, word.yMax))))
            << word.text.toStdString() << " on page " << word.page;
        if (row.columns == 2 && QStringList({"2)", "4)", "6)", "8)"}).contains(word.text)) {
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
    // No block of ten split across pages, nor a number left without its block.
    for (int page = 1; page <= 2 * row.pagesPerCopy; ++page)
        EXPECT_EQ(dots.at(static_cast<std::size_t>(page)), 0) << "page " << page;
    // The solution sheet keeps the copies' exercises where they stand (its numbers stand two
    // zones apart, above); its answers are all one size, shrunk only as far as the longest
    // needs to end before the next column or the edge.
    const auto starts = [&](int page) {
        std::vector<const PdfWord*> found;
        for (std::size_t i = 0; i + 1 < words.size(); ++i)
            if (words[i].page == page && words[i + 1].text == ":")
                found.push_back(&words[i]);
        std::ranges::sort(found, {}, [](const PdfWord* w) { return std::pair(w->yMin, w->xMin); });
        return found;
    };
    const auto copy = starts(1), solved = starts(words.back().page);
    ASSERT_TRUE(!row.solutions || solved.size() == copy.size());
    double most = -1e9, size = 1;  // how far an answer runs past its room, and its size
    for (std::size_t i = 0; row.solutions && i < copy.size(); ++i) {
        EXPECT_NEAR(solved[i]->xMin, copy[i]->xMin, 0.1) << i;
        const auto baseline = [&](const PdfWord* w) { return w->yMax * arial.ascent() + w->yMin * arial.descent(); };
        EXPECT_NEAR(baseline(solved[i]), baseline(copy[i]), 0.1 * arial.height()) << i;
        const double shrink = (solved[i]->yMax - solved[i]->yMin) / (copy[i]->yMax - copy[i]->yMin);
        EXPECT_NEAR(shrink, i ? size : shrink, 0.002);
        size = std::min(shrink, 1.0);
        const bool left = i + 1 < solved.size() && solved[i + 1]->yMin == solved[i]->yMin;
        double end = 0, next = left ? solved[i + 1]->xMin : printable.right() + blanks * scale;
        for (const PdfWord& word : words)
            if (word.page == solved[i]->page && word.yMin == solved[i]->yMin && word.xMin >= solved[i]->xMin
                && word.xMin < next)
                end = std::max(end, word.xMax);
        most = std::max(most, end - next + blanks * scale);
    }
    EXPECT_TRUE(!row.solutions || (most <= 0.5 && (size > 0.999 || most > -1)));
    for (const char* face : {"Comic Sans MS", "Arial"})
        EXPECT_TRUE(run("pdffonts", {pdf}).contains(fontFamily(face).remove(' '), Qt::CaseInsensitive)) << face;
}

std::string headingOf(int letters)
{
    return QString("Scrivi ogni divisione in colonna sul quaderno e la prova accanto. ")
        .repeated(30)
        .left(letters)
        .toStdString();
}
constexpr MarkedCase caseI{DivisionCase::I, DivisorDigits::TwoDigits}, caseIII{DivisionCase::III};
const std::string nameClassDate = "Nome e cognome: ____ Classe: ____ Data: ____ Nome e cognome: ____ Classe: ____";
const PaperRow paperRows[] = {
    {"A4TwoColumnsOfForty", QPageSize::A4, usual, 2, 4, heading, 1, 1},
    {"NoCopiesWritesNothing", QPageSize::A4, usual, 2, 4, heading, 0, 1},
    // Short left-hand exercises: the right-hand ones still stand under "2)". Their answers
    // stand where the dots were, the columns where the copies have them.
    {"A4SolutionsCaseITwoDigits", QPageSize::A4, usual, 2, 4, heading, 1, 1, caseI, true},
    {"A4SolutionsCaseIVOneColumn", QPageSize::A4, usual, 1, 4, heading, 1, 1, {DivisionCase::IV}, true},
    {"A4CaseVOneDigit", QPageSize::A4, usual, 2, 4, heading, 1, 1, {DivisionCase::V, DivisorDigits::OneDigit}},
    // Shrunk to fit wider margins rather than spill its last rows onto a page of their own,
    // or run off the right edge; its answers shrunk alike to fit their columns.
    {"A4WideMarginsCaseIII", QPageSize::A4, QMarginsF(108, 36, 108, 36), 2, 4, heading, 1, 0.5, caseIII, true},
    // A few rows too long for the paper: shrunk a little onto one page.
    {"LetterTwoColumnsOfForty", QPageSize::Letter, usual, 2, 4, heading, 1, 0.75},
    {"A4TwoLineHeadingTwoColumnsOfForty", QPageSize::A4, usual, 2, 4, nameClassDate, 1, 0.75},
    // Too narrow for two columns side by side: shrunk to the width.
    {"A5TwoColumnsOfTen", QPageSize::A5, usual, 2, 1, heading, 1, 0.5, caseI, true},
    // Far too long for the paper: goes on on a second page at full size.
    {"A5OneColumnOfForty", QPageSize::A5, usual, 1, 4, heading, 2, 1},
    // Narrower than an exercise: shrunk to the width rather than wrapped, unless it would then
    // be too small to read (as on a label printer's paper).
    {"A7OneColumnOfForty", QPageSize::A7, usual, 1, 4, heading, 4, 0.6},
    {"A10TwoColumnsOfForty", QPageSize::A10, usual, 2, 4, heading, -1, 1},
    // A heading wider than the paper goes on on further lines, a word wider than it too.
    {"LongHeadingTwoColumnsOfForty", QPageSize::A4, inkjet, 2, 4, longHeading, 1, 0.5},
    {"LongWordHeading", QPageSize::A4, usual, 1, 2, std::string(25, '0') + std::string(300, 'w'), 1, 1},
    // Headings that push the blocks onto further pages: whole blocks go.
    {"HeadingOf1050OneColumnOfForty", QPageSize::A4, usual, 1, 4, headingOf(1050), 2, 1},
    {"HeadingOf1400TwoColumnsOfForty", QPageSize::A4, usual, 2, 4, headingOf(1400), 2, 1},
    {"WordOf5000Letters", QPageSize::A4, usual, 1, 1, std::string(5000, 'w'), 3, 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, SheetOnPaper, testing::ValuesIn(paperRows),
                         [](const auto& row) { return row.param.name; });

}  // namespace
