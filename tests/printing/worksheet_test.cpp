#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/generators.h"
#include "printing/worksheet/worksheet.h"
#include "support/recording_printer.h"

using namespace ripartino;

namespace {

const std::string comma = ",";

// A seeded source that counts what it hands out.
struct CountingSource {
    explicit CountingSource(unsigned seed) : engine(seed) {}
    RandomSource source()
    {
        return RandomSource([this] {
            ++taken;
            return std::uniform_real_distribution<double>(0, 1)(engine);
        });
    }
    std::mt19937_64 engine;
    long taken = 0;
};

CaseWindowStates markedWindow(DivisionCase divisionCase, DivisorDigits digits)
{
    CaseWindowStates windows;
    auto& window = windows[static_cast<std::size_t>(divisionCase) - 1];
    window.printMark = caseDigit(divisionCase);
    window.divisorDigits = digits;
    return windows;
}

// The 80 lines that eight inventions in a row give from the same seed.
std::vector<std::string> expectedLines(DivisionCase divisionCase, DivisorDigits digits, unsigned seed)
{
    CountingSource counting(seed);
    RandomSource source = counting.source();
    std::vector<std::string> lines;
    for (int group = 0; group < 8; ++group)
        for (const Exercise& exercise : CaseGenerator(divisionCase).invent(digits, source, comma))
            lines.push_back(exercise.line.substr(0, exercise.line.size() - 1));
    return lines;
}

std::string exerciseCall(const std::string& line) { return "line \"        " + line + " ........\""; }

const std::vector<std::string> sheetTop = {
    "line \"\"", "font Comic Sans MS", "size 18", "line \"  Calcola le seguenti operazioni:\"",
    "font Arial", "size 6", "line \"\"", "size 15",
};

struct Job {
    PrintOutcome outcome;
    RecordingPrinter printer;
    long draws;
};

Job runJob(const WorksheetOptions& options, const CaseWindowStates& windows, WorksheetTable& table,
           unsigned seed = 7)
{
    CountingSource counting(seed);
    RandomSource source = counting.source();
    Job job;
    job.outcome = printWorksheets(options, windows, source, job.printer, table, comma);
    job.draws = counting.taken;
    return job;
}

TEST(PrintWorksheets, OneColumnOfTenIsTheFourteenLinesOfTheExample)
{
    WorksheetTable table;
    const Job job = runJob({1, 1, 1, "Calcola le seguenti operazioni:"},
                           markedWindow(DivisionCase::I, DivisorDigits::Mixed), table);
    const auto lines = expectedLines(DivisionCase::I, DivisorDigits::Mixed, 7);

    std::vector<std::string> expected = sheetTop;
    expected.push_back("line \"   1)\"");
    for (int row = 0; row < 10; ++row)
        expected.push_back(exerciseCall(lines[row]));
    expected.push_back("page");
    expected.push_back("end");

    EXPECT_EQ(job.outcome, PrintOutcome::Done);
    EXPECT_EQ(job.printer.calls, expected);
    for (int group = 1; group <= 8; ++group)
        for (int row = 1; row <= 10; ++row)
            EXPECT_EQ(table.slot(group, row), lines[(group - 1) * 10 + row - 1]);
    // Every printed exercise ends with " =", a blank and eight dots, nothing after them.
    for (const std::string& call : job.printer.calls) {
        if (call.find("........") != std::string::npos) {
            EXPECT_TRUE(std::regex_match(call, std::regex(R"(line "        \d+(,\d+)? : \d+(,\d+)? = \.{8}")")))
                << call;
        }
    }
}

TEST(PrintWorksheets, FortyPerColumnPrintsFourBlocksOrAllEightyInTwoColumns)
{
    WorksheetTable table;
    const auto windows = markedWindow(DivisionCase::III, DivisorDigits::TwoDigits);
    const auto lines = expectedLines(DivisionCase::III, DivisorDigits::TwoDigits, 7);

    const Job one = runJob({1, 4, 1, "Calcola le seguenti operazioni:"}, windows, table);
    std::vector<std::string> expected = sheetTop;
    for (int k = 1; k <= 4; ++k) {
        expected.push_back("line \"   " + std::to_string(k) + ")\"");
        for (int row = 0; row < 10; ++row)
            expected.push_back(exerciseCall(lines[(2 * k - 2) * 10 + row]));  // groups 1, 3, 5, 7
    }
    expected.push_back("page");
    expected.push_back("end");
    EXPECT_EQ(one.printer.calls, expected);

    const Job two = runJob({2, 4, 1, "Calcola le seguenti operazioni:"}, windows, table);
    expected = sheetTop;
    for (int k = 1; k <= 4; ++k) {
        expected.push_back("line \"   " + std::to_string(2 * k - 1) + ")\" >> \"" + std::to_string(2 * k) + ")\"");
        for (int row = 0; row < 10; ++row)
            expected.push_back(exerciseCall(lines[(2 * k - 2) * 10 + row]) + " > \"     "
                               + lines[(2 * k - 1) * 10 + row] + " ........\"");
    }
    expected.push_back("page");
    expected.push_back("end");
    EXPECT_EQ(two.printer.calls, expected);

    // Two jobs from the same seed give the same table; every exercise printed exactly once.
    std::multiset<std::string> printed;
    for (const std::string& call : two.printer.calls)
        for (const std::string& line : lines)
            if (call.find(" " + line + " ........") != std::string::npos)
                printed.insert(line);
    EXPECT_EQ(printed, std::multiset<std::string>(lines.begin(), lines.end()));
}

TEST(PrintWorksheets, CopiesPrintIdenticalSheetsFromOneInvention)
{
    struct Row {
        double copies;
        int sheets;
    };
    const Row rows[] = {{0, 0}, {1, 1}, {3, 3}, {2.5, 2}, {-1, 0}, {0.99, 0}, {999, 999}};
    const auto windows = markedWindow(DivisionCase::II, DivisorDigits::OneDigit);
    long drawsOfOneInvention = -1;
    for (const Row& row : rows) {
        SCOPED_TRACE("copies " + std::to_string(row.copies));
        WorksheetTable table;
        const Job job = runJob({2, 2, row.copies, "x"}, windows, table);
        EXPECT_EQ(job.outcome, PrintOutcome::Done);
        // The table is filled even when no sheet is printed, with the same draws.
        EXPECT_TRUE(table.isFilled());
        if (drawsOfOneInvention < 0)
            drawsOfOneInvention = job.draws;
        EXPECT_EQ(job.draws, drawsOfOneInvention);

        const auto& calls = job.printer.calls;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "end");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "end"), 1);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "page"), row.sheets);
        if (row.sheets == 0)
            continue;
        const auto sheetEnd = std::find(calls.begin(), calls.end(), "page") + 1;
        const std::vector<std::string> sheet(calls.begin(), sheetEnd);
        for (int copy = 0; copy < row.sheets; ++copy)
            ASSERT_TRUE(std::equal(sheet.begin(), sheet.end(), calls.begin() + copy * sheet.size()));
    }
}

TEST(PrintWorksheets, HeadingAndColumnsOptionsShapeTheSheet)
{
    WorksheetTable table;
    const auto windows = markedWindow(DivisionCase::V, DivisorDigits::Mixed);

    const Job noColumns = runJob({0, 4, 2, " Titolo  "}, windows, table);
    std::vector<std::string> sheet = {"line \"\"",  "font Comic Sans MS", "size 18", "line \"   Titolo  \"",
                                      "font Arial", "size 6",             "line \"\"", "size 15", "page"};
    std::vector<std::string> expected = sheet;
    expected.insert(expected.end(), sheet.begin(), sheet.end());
    expected.push_back("end");
    EXPECT_EQ(noColumns.printer.calls, expected);

    const Job emptyHeading = runJob({1, 1, 1, ""}, windows, table);
    EXPECT_EQ(emptyHeading.printer.calls.at(3), "line \"  \"");
    EXPECT_EQ(emptyHeading.printer.calls.size(), sheetTop.size() + 11 + 2);
}

TEST(PrintWorksheets, FindsTheMarkedWindowInCaseOrderWithItsDivisorChoice)
{
    // A two-digit choice gives only two-digit divisors on the sheet.
    WorksheetTable table;
    runJob({1, 1, 0, ""}, markedWindow(DivisionCase::V, DivisorDigits::TwoDigits), table);
    for (int group = 1; group <= 8; ++group)
        for (int row = 1; row <= 10; ++row)
            EXPECT_TRUE(std::regex_match(*table.slot(group, row), std::regex(R"(\d+ : \d\d =)")))
                << *table.slot(group, row);

    // The mark must be the window's own digit.
    CaseWindowStates wrongMark;
    wrongMark[0].printMark = "2";
    wrongMark[1].printMark = " 2";
    WorksheetTable untouched;
    const Job none = runJob({1, 1, 1, ""}, wrongMark, untouched);
    EXPECT_EQ(none.outcome, PrintOutcome::NothingToPrint);
    EXPECT_EQ(none.draws, 0);

    // Two marks: each refills the table in turn, the higher case decides the sheet.
    CaseWindowStates both = markedWindow(DivisionCase::I, DivisorDigits::OneDigit);
    both[4] = {"5", DivisorDigits::OneDigit};
    WorksheetTable twice;
    const Job job = runJob({1, 1, 0, ""}, both, twice, 11);
    CountingSource counting(11);
    RandomSource source = counting.source();
    for (int group = 0; group < 8; ++group)
        CaseGenerator(DivisionCase::I).invent(DivisorDigits::OneDigit, source, comma);
    for (int group = 1; group <= 8; ++group) {
        const ExerciseSet fifth = CaseGenerator(DivisionCase::V).invent(DivisorDigits::OneDigit, source, comma);
        for (int row = 1; row <= 10; ++row)
            EXPECT_EQ(twice.slot(group, row), sheetLine(fifth[row - 1]));
    }
    EXPECT_EQ(job.draws, counting.taken);
}

TEST(PrintWorksheets, LaterJobsDrawOnAndAnUnmarkedJobReprintsThePreviousTable)
{
    const auto windows = markedWindow(DivisionCase::I, DivisorDigits::Mixed);
    CountingSource counting(3);
    RandomSource source = counting.source();
    WorksheetTable table;
    RecordingPrinter first;
    RecordingPrinter second;
    RecordingPrinter reprint;
    const WorksheetOptions options{2, 4, 1, "Calcola le seguenti operazioni:"};

    printWorksheets(options, windows, source, first, table, comma);
    const long drawsAfterFirst = counting.taken;
    printWorksheets(options, windows, source, second, table, comma);
    EXPECT_NE(first.calls, second.calls);

    // The case window was closed meanwhile: nothing is invented, the same sheet comes out.
    const long drawsAfterSecond = counting.taken;
    EXPECT_EQ(printWorksheets(options, CaseWindowStates{}, source, reprint, table, comma), PrintOutcome::Done);
    EXPECT_EQ(reprint.calls, second.calls);
    EXPECT_EQ(counting.taken, drawsAfterSecond);
    EXPECT_GT(drawsAfterFirst, 0);
}

TEST(PrintWorksheets, RefusesAbsurdCopiesAndEmptyTablesBeforeTouchingThePrinter)
{
    const double absurd[] = {1000, 999.999 + 1, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(), 1e300};
    for (double copies : absurd) {
        SCOPED_TRACE(copies);
        WorksheetTable table;
        const Job job = runJob({1, 1, copies, ""}, markedWindow(DivisionCase::I, DivisorDigits::Mixed), table);
        EXPECT_EQ(job.outcome, PrintOutcome::TooManyCopies);
        EXPECT_TRUE(job.printer.calls.empty());
        EXPECT_EQ(job.draws, 0);
        EXPECT_FALSE(table.isFilled());
    }

    // No mark and no earlier job: empty dotted lines would be all there is to print.
    WorksheetTable empty;
    const Job nothing = runJob({1, 1, 3, ""}, CaseWindowStates{}, empty);
    EXPECT_EQ(nothing.outcome, PrintOutcome::NothingToPrint);
    EXPECT_TRUE(nothing.printer.calls.empty());
    // Copies 0 prints nothing either way and is no reason for a message.
    const Job none = runJob({1, 1, 0, ""}, CaseWindowStates{}, empty);
    EXPECT_EQ(none.outcome, PrintOutcome::Done);
    EXPECT_EQ(none.printer.calls, std::vector<std::string>{"end"});
}

TEST(PrintWorksheets, StopsAtAPrinterFailureAndReportsIt)
{
    for (PrinterStatus failure : {PrinterStatus::NoDefaultPrinter, PrinterStatus::JobRefused}) {
        CountingSource counting(5);
        RandomSource source = counting.source();
        WorksheetTable table;
        RecordingPrinter printer;
        printer.failure = failure;
        const PrintOutcome outcome =
            printWorksheets({1, 1, 3, ""}, markedWindow(DivisionCase::I, DivisorDigits::Mixed), source, printer,
                            table, comma);
        EXPECT_EQ(outcome, failure == PrinterStatus::NoDefaultPrinter ? PrintOutcome::NoDefaultPrinter
                                                                       : PrintOutcome::JobRefused);
        EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "page"), 0);
        EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "end"), 0);
    }
}

}  // namespace
