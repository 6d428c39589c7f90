#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "printing/worksheet.h"
#include "support/recording_printer.h"

using namespace ripartino;
using enum DivisionCase;
using enum DivisorDigits;

namespace {

// A job as the print service runs it: the invention, then the copies.
PrintOutcome runJob(const WorksheetOptions& options, const MarkedCase* marked, RandomSource& source,
                    SheetPrinter& printer, WorksheetVersions& table)
{
    const PrintOutcome ready = prepareSheets(options, marked, source, table, ",");
    return ready == PrintOutcome::Done ? printSheets(options, table, printer) : ready;
}

// A hand-set sheet of one block in two columns, call by call, then its solution sheet: each
// answer where the dots were, in the table's separator; an empty slot keeps its dots.
TEST(PrintSheets, LayOutTheSheetThenItsSolutions)
{
    WorksheetTable table;
    // The answers come from the numbers, not from the lines.
    table.setSlot(1, 1, {Number::wide(932.125), Number::single(44), "932.125 : 44 = "});
    table.setSlot(1, 2, {Number::wide(1235), Number::single(0.7f), "1235 : 0.7 = "});
    table.setSlot(2, 1, {Number::single(7.5f), Number::wide(3), "7.5 : 3 = "});
    table.setDecimalSeparator(".");
    // Its calls in a row, each ended by '|'.
    const auto sheet = [](const std::string& heading, const std::string& a, const std::string& b,
                          const std::string& c) {
        std::string calls = "line \"\"|font Comic Sans MS|size 18|line \"  " + heading
            + "\"|font Arial|size 6|line \"\"|size 15|line \"   1)\" >> \"2)\"|line \"        932.125 : 44 =" + a
            + "\" > \"     7.5 : 3 =" + c + "\"|line \"        1235 : 0.7 =" + b + "\" > \"      ........\"|";
        for (int row = 3; row <= 10; ++row)
            calls += "line \"         ........\" > \"      ........\"|";
        return calls + "page|";
    };
    RecordingPrinter printer;
    std::vector<int> asked;
    EXPECT_EQ(
        printSheets({2, 1, 1, "T", true}, {table}, printer, [&](int sheet) { return asked.push_back(sheet), true; }),
        PrintOutcome::Done);
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    std::string printed;
    for (const std::string& call : printer.calls)
        printed += call + '|';
    EXPECT_EQ(printed,
              sheet("T", " ........", " ........", " ........")
                  + sheet("Soluzioni - T", " 21.18 resto 0.205", " 1764.28 resto 0.04", " 2.5") + "end|");
}

struct JobRow {
    const char* name;
    WorksheetOptions options;
    int sheets;  // copies printed, not counting the solutions
    PrintOutcome outcome = PrintOutcome::Done;
    PrintOutcome failure = PrintOutcome::Done;
    bool marked = true;  // the case window asked for the sheet
    int keyPages = 1;    // the solutions' sheets
};

class PrintJob : public testing::TestWithParam<JobRow> {};
void PrintTo(const JobRow& row, std::ostream* out) { *out << row.name; }

// The copies of one invention, and the solution sheet only after them all; absurd copies and
// a job with nothing to print are refused before any invention.
TEST_P(PrintJob, PrintsTheWholeCopiesThenTheSolutions)
{
    const JobRow& row = GetParam();
    RandomSource source;
    source.seed(7);
    RecordingPrinter printer(row.failure);
    WorksheetVersions table;
    const MarkedCase marked{III, Mixed};
    EXPECT_EQ(runJob(row.options, row.marked ? &marked : nullptr, source, printer, table), row.outcome);
    const auto count = [&](const std::string& prefix) {
        return std::count_if(printer.calls.begin(), printer.calls.end(),
                             [&](const std::string& call) { return call.starts_with(prefix); });
    };
    const bool solved = row.options.solutions && row.outcome == PrintOutcome::Done && row.sheets > 0;
    EXPECT_EQ(count("font Comic Sans MS"), row.sheets + solved * row.keyPages);
    EXPECT_EQ(count("line \"  Soluzioni"), solved * row.keyPages);
    EXPECT_EQ(count("line \"   1)\""), row.options.columns ? row.sheets + solved * !row.options.different : 0);
    EXPECT_EQ(count("code Scheda"), row.options.different ? row.sheets : 0);
    EXPECT_EQ(count("end"), row.outcome == PrintOutcome::Done);
    EXPECT_EQ(!table.empty() && table[0].isFilled(), row.marked && row.outcome != PrintOutcome::TooManyCopies);
}

const JobRow jobRows[] = {
    {"OneColumnOfForty", {1, 4, 1, "x"}, 1},
    {"NoColumnsChosen", {0, 4, 2, " Titolo  "}, 2},
    {"WholeCopiesOnly", {2, 3, 2.5, "x"}, 2},
    {"MostCopies", {2, 1, 999, "x"}, 999},
    {"ThousandCopies", {1, 1, 1000, ""}, 0, PrintOutcome::TooManyCopies},
    {"NotANumber", {1, 1, NAN, ""}, 0, PrintOutcome::TooManyCopies},
    {"Unmarked", {1, 1, 1, ""}, 0, PrintOutcome::NothingToPrint, PrintOutcome::Done, false},
    {"UnmarkedNoCopies", {1, 1, 0, ""}, 0, PrintOutcome::Done, PrintOutcome::Done, false},
    {"JobRefused", {1, 1, 3, ""}, 1, PrintOutcome::JobRefused, PrintOutcome::JobRefused},
    {"ThreeCopiesAndSolutions", {2, 2, 3, "", true}, 3},
    {"LessThanOneCopyNoSolutions", {2, 2, 0.99, "x", true}, 0},
    {"NoPrinterNoSolutions", {1, 1, 3, "", true}, 1, PrintOutcome::NoDefaultPrinter, PrintOutcome::NoDefaultPrinter},
    // Versions of 11 lines, five to a column, two columns to a page; of 61 two to a page, of 81 one.
    {"DifferentTenAKeyPage", {1, 1, 10, "", true, true}, 10},
    {"DifferentTenTwoKeyPages", {1, 1, 11, "", true, true}, 11, PrintOutcome::Done, PrintOutcome::Done, true, 2},
    {"DifferentSixtyTwoToAKeyPage", {2, 3, 3, "", true, true}, 3, PrintOutcome::Done, PrintOutcome::Done, true, 2},
    {"DifferentEightyOneToAKeyPage", {2, 4, 2, "", true, true}, 2, PrintOutcome::Done, PrintOutcome::Done, true, 2},
    {"DifferentNoSolutions", {2, 1, 3, "", false, true}, 3},
};
INSTANTIATE_TEST_SUITE_P(Rows, PrintJob, testing::ValuesIn(jobRows), [](const auto& row) { return row.param.name; });

// The next job draws on, and with no case window marked the last job's sheets come out
// again, different ones too.
TEST(PrintSheets, KeepsTheLastJobsSheets)
{
    RandomSource source;
    source.seed(3);
    const MarkedCase marked{V, TwoDigits};
    const WorksheetOptions jobs[] = {{2, 4, 1, "x"}, {2, 4, 1, "x"}, {1, 2, 3, "T", true, true}};
    std::vector<std::string> before;
    for (const WorksheetOptions& options : jobs) {
        WorksheetVersions versions;
        RecordingPrinter printer, reprint;
        runJob(options, &marked, source, printer, versions);
        EXPECT_NE(printer.calls, before);
        EXPECT_EQ(runJob(options, nullptr, source, reprint, versions), PrintOutcome::Done);
        EXPECT_EQ(reprint.calls, before = printer.calls);
    }
}

}  // namespace
