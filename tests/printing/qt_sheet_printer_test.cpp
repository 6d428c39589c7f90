#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>
#include <random>

#include "support/pdf_reading.h"
#include "printing/worksheet/qt_sheet_printer.h"
#include "printing/worksheet/worksheet.h"
#include "windows/look.h"

using namespace ripartino;

namespace {

const QString defaultHeading = QStringLiteral("Calcola le seguenti operazioni:");
constexpr double pointsPerMm = 72 / 25.4;
constexpr double sideMargin = 10 * pointsPerMm;
constexpr double topMargin = 5 * pointsPerMm;

// Text of each page, laid out as on paper, without blank lines.
std::vector<QStringList> pageLines(const QString& pdf)
{
    std::vector<QStringList> pages;
    for (const QString& page : run("pdftotext", {"-layout", pdf, "-"}).split(QChar('\f'))) {
        QStringList lines;
        for (const QString& line : page.split('\n'))
            if (!line.trimmed().isEmpty())
                lines << line;
        pages.push_back(lines);
    }
    if (!pages.empty() && pages.back().isEmpty())
        pages.pop_back();
    return pages;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
    int page;
    double pageWidth, pageHeight;
};

std::vector<Word> words(const QString& pdf)
{
    std::vector<Word> found;
    const QString html = run("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression pageTag(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression wordTag(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    double width = 0;
    double height = 0;
    for (const QString& line : html.split('\n')) {
        if (const auto p = pageTag.match(line); p.hasMatch()) {
            ++page;
            width = p.captured(1).toDouble();
            height = p.captured(2).toDouble();
        } else if (const auto w = wordTag.match(line); w.hasMatch()) {
            found.push_back({w.captured(5), w.captured(1).toDouble(), w.captured(2).toDouble(),
                             w.captured(3).toDouble(), w.captured(4).toDouble(), page, width, height});
        }
    }
    return found;
}

struct PrintedJob {
    QString pdf;
    WorksheetTable table;
};

PrintedJob printToPdf(const QTemporaryDir& dir, const QString& name, WorksheetOptions options,
                      const QPageSize& paper = QPageSize(QPageSize::A4))
{
    PrintedJob job{dir.filePath(name), {}};
    RandomSource source;
    source.seed(2024);
    CaseWindowStates windows;
    windows[0] = {"1", DivisorDigits::Mixed};
    QtSheetPrinter printer(job.pdf, paper);
    EXPECT_EQ(printWorksheets(options, windows, source, printer, job.table, ","), PrintOutcome::Done);
    return job;
}

QString sheetText(const WorksheetTable& table, int group, int row)
{
    return QString::fromStdString(*table.slot(group, row)) + " ........";
}

TEST(QtSheetPrinter, OneColumnOfTenGivesTheExampleSheetOncePerCopy)
{
    QTemporaryDir dir;
    const PrintedJob job = printToPdf(dir, "ten.pdf", {1, 1, 3, defaultHeading.toStdString()});
    EXPECT_EQ(pageCount(job.pdf), 3);

    QStringList expected = {"  " + defaultHeading, "   1)"};
    for (int row = 1; row <= 10; ++row)
        expected << "        " + sheetText(job.table, 1, row);
    const auto pages = pageLines(job.pdf);
    ASSERT_EQ(pages.size(), 3u);
    for (const QStringList& page : pages) {
        ASSERT_EQ(page.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_EQ(page[i].simplified(), expected[i].simplified());
    }

    // The heading in the hand-lettering face, the exercises in the Arial look-alike.
    const QString fonts = run("pdffonts", {job.pdf});
    EXPECT_TRUE(fonts.contains(look::fontFamily("Comic Sans MS").remove(' '), Qt::CaseInsensitive));
    EXPECT_TRUE(fonts.contains(look::fontFamily("Arial").remove(' '), Qt::CaseInsensitive));
}

TEST(QtSheetPrinter, TwoColumnsStandSideBySideOnZoneBoundaries)
{
    QTemporaryDir dir;
    const PrintedJob job = printToPdf(dir, "two.pdf", {2, 2, 1, defaultHeading.toStdString()});
    EXPECT_EQ(pageCount(job.pdf), 1);
    const QStringList lines = pageLines(job.pdf).at(0);
    for (int k = 1; k <= 2; ++k) {
        for (int row = 1; row <= 10; ++row) {
            const QString left = sheetText(job.table, 2 * k - 1, row).simplified();
            const QString right = sheetText(job.table, 2 * k, row).simplified();
            const bool together = std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
                const QString simple = line.simplified();
                return simple.startsWith(left) && simple.endsWith(right);
            });
            EXPECT_TRUE(together) << left.toStdString() << " | " << right.toStdString();
        }
    }

    // "2)" stands exactly two zones of 14 average Arial 15 widths from the left edge.
    QPdfWriter reference(dir.filePath("reference.pdf"));
    reference.setResolution(72);
    QFont arial(look::fontFamily("Arial"));
    arial.setPointSizeF(15);
    const double zone = 14 * QFontMetricsF(arial, &reference).averageCharWidth();
    int headings = 0;
    for (const Word& word : words(job.pdf)) {
        if (word.text == "2)" || word.text == "4)") {
            ++headings;
            EXPECT_NEAR(word.xMin - sideMargin, 2 * zone, 0.5);
        }
    }
    EXPECT_EQ(headings, 2);
}

TEST(QtSheetPrinter, FortyPerColumnGoesOnToNewPagesAndNothingIsClipped)
{
    QTemporaryDir dir;
    // Two columns are wider than A5 allows; a small page tests the page break on its own.
    const std::pair<QPageSize::PageSizeId, int> cases[] = {
        {QPageSize::A4, 1}, {QPageSize::A4, 2}, {QPageSize::Letter, 1}, {QPageSize::Letter, 2}, {QPageSize::A5, 1}};
    for (const auto& [paper, columns] : cases) {
        {
            SCOPED_TRACE(QPageSize::name(paper).toStdString() + ", columns " + std::to_string(columns));
            const PrintedJob job = printToPdf(dir, "forty.pdf", {columns, 4, 2, defaultHeading.toStdString()},
                                              QPageSize(paper));
            const auto all = words(job.pdf);
            ASSERT_FALSE(all.empty());
            const int pages = all.back().page;
            EXPECT_EQ(pages, pageCount(job.pdf));
            EXPECT_EQ(pages % 2, 0);  // both copies alike, each from a fresh page
            if (paper == QPageSize::A4) {
                EXPECT_EQ(pages, 2);  // a whole sheet fits on A4
            }

            int dots = 0;
            std::vector<int> headingPages;
            for (const Word& word : all) {
                dots += word.text == "........";
                if (word.text == "Calcola")
                    headingPages.push_back(word.page);
                // Inside the margins: nothing runs off the paper.
                EXPECT_GE(word.yMin, topMargin - 1);
                EXPECT_LE(word.yMax, word.pageHeight - topMargin + 1) << word.text.toStdString();
                EXPECT_LE(word.xMax, word.pageWidth - sideMargin + 1);
            }
            EXPECT_EQ(dots, 2 * 40 * columns);
            EXPECT_EQ(headingPages, (std::vector<int>{1, pages / 2 + 1}));

            // Every exercise of the sheet is there, in full.
            QString text;
            for (const QStringList& page : pageLines(job.pdf))
                text += page.join('\n').simplified() + ' ';
            for (int group = 1; group <= 8; group += (columns == 1 ? 2 : 1))
                for (int row = 1; row <= 10; ++row)
                    EXPECT_EQ(text.count(sheetText(job.table, group, row)), 2);
        }
    }
}

TEST(QtSheetPrinter, AJobWithNothingPrintedWritesNothing)
{
    QTemporaryDir dir;
    const PrintedJob job = printToPdf(dir, "none.pdf", {1, 1, 0, defaultHeading.toStdString()});
    EXPECT_FALSE(QFile::exists(job.pdf));
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
