#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "core/generators.h"
#include "printing/worksheet/worksheet.h"
#include "support/recording_printer.h"

using namespace ripartino;

namespace {

const std::string heading = "Calcola le seguenti operazioni:";
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// A seeded source that counts what it hands out.
struct CountingSource {
    explicit CountingSource(unsigned seed) : engine(seed) {}
    std::mt19937_64 engine;
    long taken = 0;
    RandomSource source{[this] {
        ++taken;
        return std::uniform_real_distribution<double>(0, 1)(engine);
    }};
};

CaseWindowStates marked(DivisionCase divisionCase, DivisorDigits digits)
{
    CaseWindowStates windows;
    windows[static_cast<std::size_t>(divisionCase) - 1] = {caseDigit(divisionCase), digits};
    return windows;
}

// The 80 sheet lines of eight inventions in a row, each the exercise's line less its last blank.
std::vector<std::string> inventions(DivisionCase divisionCase, DivisorDigits digits, RandomSource& source)
{
    std::vector<std::string> lines;
    for (int group = 0; group < 8; ++group)
        for (const Exercise& exercise : CaseGenerator(divisionCase).invent(digits, source, ","))
            lines.push_back(exercise.line.substr(0, exercise.line.size() - 1));
    return lines;
}

// One sheet's printer calls, as the sheet's layout table has them.
std::vector<std::string> sheet(const WorksheetOptions& options, const std::vector<std::string>& lines)
{
    std::vector<std::string> calls = {"line \"\"", "font Comic Sans MS", "size 18", "line \"  " + options.heading + "\"",
                                      "font Arial", "size 6", "line \"\"", "size 15"};
    const auto exercise = [&](const std::string& indent, int group, int row) {
        return "\"" + indent + lines[static_cast<std::size_t>((group - 1) * 10 + row - 1)] + " ........\"";
    };
    for (int k = 1; k <= options.blocks && options.columns > 0; ++k) {
        const std::string left = std::to_string(options.columns == 1 ? k : 2 * k - 1) + ")";
        calls.push_back("line \"   " + left + "\"" + (options.columns == 2 ? " >> \"" + std::to_string(2 * k) + ")\"" : ""));
        for (int row = 1; row <= 10; ++row)
            calls.push_back("line " + exercise("        ", 2 * k - 1, row)
                            + (options.columns == 2 ? " > " + exercise("     ", 2 * k, row) : ""));
    }
    return calls;
}

struct JobRow {
    const char* name;
    DivisionCase divisionCase;
    DivisorDigits digits;
    WorksheetOptions options;
    int sheets;
    PrintOutcome outcome = PrintOutcome::Done;
    PrinterStatus failure = PrinterStatus::Ready;
};

class PrintJob : public testing::TestWithParam<JobRow> {};

// A whole job against the layout table: every call of every copy, the table and the draws.
TEST_P(PrintJob, PrintsTheSheetsOfOneInvention)
{
    const JobRow& job = GetParam();
    CountingSource expectedSource(7);
    const std::vector<std::string> lines = inventions(job.divisionCase, job.digits, expectedSource.source);
    CountingSource counting(7);
    RecordingPrinter printer;
    printer.failure = job.failure;
    WorksheetTable table;
    const PrintOutcome outcome =
        printWorksheets(job.options, marked(job.divisionCase, job.digits), counting.source, printer, table, ",");

    EXPECT_EQ(outcome, job.outcome);
    std::vector<std::string> expected;
    for (int copy = 0; copy < job.sheets; ++copy) {
        const auto calls = sheet(job.options, lines);
        expected.insert(expected.end(), calls.begin(), calls.end());
        if (job.failure == PrinterStatus::Ready)
            expected.push_back("page");
    }
    if (job.failure == PrinterStatus::Ready && job.outcome == PrintOutcome::Done)
        expected.push_back("end");
    EXPECT_EQ(printer.calls, expected);

    const bool refused = job.outcome == PrintOutcome::TooManyCopies;
    EXPECT_EQ(counting.taken, refused ? 0 : expectedSource.taken);
    static const std::regex printedForm(R"(\d+(,\d+)? : \d+(,\d+)? =)");
    for (int slot = 0; slot < 80; ++slot) {
        EXPECT_EQ(table.slot(slot / 10 + 1, slot % 10 + 1), refused ? std::nullopt : std::optional(lines[slot]));
        // The printed form ends in " =": the blank before the dots comes from the dots.
        EXPECT_TRUE(refused || std::regex_match(lines[slot], printedForm));
    }
}

const JobRow jobRows[] = {
    {"ExampleOneColumnOfTen", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 1, heading}, 1},
    {"OneColumnOfForty", DivisionCase::III, DivisorDigits::TwoDigits, {1, 4, 1, heading}, 1},
    {"TwoColumnsOfForty", DivisionCase::III, DivisorDigits::TwoDigits, {2, 4, 1, heading}, 1},
    {"NoColumnsChosen", DivisionCase::V, DivisorDigits::Mixed, {0, 4, 2, " Titolo  "}, 2},
    {"EmptyHeading", DivisionCase::II, DivisorDigits::OneDigit, {1, 1, 1, ""}, 1},
    {"ThreeCopies", DivisionCase::IV, DivisorDigits::OneDigit, {2, 2, 3, "x"}, 3},
    {"WholeCopiesOnly", DivisionCase::V, DivisorDigits::TwoDigits, {2, 3, 2.5, "x"}, 2},
    {"MostCopies", DivisionCase::II, DivisorDigits::Mixed, {2, 1, 999, "x"}, 999},
    {"NoCopies", DivisionCase::II, DivisorDigits::OneDigit, {2, 2, 0, "x"}, 0},
    {"LessThanOneCopy", DivisionCase::I, DivisorDigits::OneDigit, {2, 2, 0.99, "x"}, 0},
    {"NegativeCopies", DivisionCase::I, DivisorDigits::OneDigit, {2, 2, -1, "x"}, 0},
    {"ThousandCopies", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 1000, ""}, 0, PrintOutcome::TooManyCopies},
    {"JustOverTheMost", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 999.999 + 1, ""}, 0, PrintOutcome::TooManyCopies},
    {"OverflowedCopies", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 1e300, ""}, 0, PrintOutcome::TooManyCopies},
    {"InfiniteCopies", DivisionCase::I, DivisorDigits::Mixed, {1, 1, infinity, ""}, 0, PrintOutcome::TooManyCopies},
    {"NotANumber", DivisionCase::I, DivisorDigits::Mixed, {1, 1, nan, ""}, 0, PrintOutcome::TooManyCopies},
    {"NoPrinter", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 3, ""}, 1, PrintOutcome::NoDefaultPrinter,
     PrinterStatus::NoDefaultPrinter},
    {"JobRefused", DivisionCase::I, DivisorDigits::Mixed, {1, 1, 3, ""}, 1, PrintOutcome::JobRefused,
     PrinterStatus::JobRefused},
};
INSTANTIATE_TEST_SUITE_P(Rows, PrintJob, testing::ValuesIn(jobRows), [](const auto& row) { return row.param.name; });

// The print window's table across a run: marks decide what is invented, the table stays.
TEST(PrintWorksheets, KeepsTheTableAcrossJobsAndInventsOnlyForTheMarkedCase)
{
    CountingSource counting(3);
    RecordingPrinter noMark;
    WorksheetTable table;
    CaseWindowStates strangers;
    strangers[0].printMark = "2";  // only a window's own digit marks it
    strangers[1].printMark = " 2";
    EXPECT_EQ(printWorksheets({1, 1, 1, ""}, strangers, counting.source, noMark, table, ","),
              PrintOutcome::NothingToPrint);
    EXPECT_EQ(printWorksheets({1, 1, 0, ""}, strangers, counting.source, noMark, table, ","), PrintOutcome::Done);
    EXPECT_EQ(noMark.calls, std::vector<std::string>{"end"});
    EXPECT_EQ(counting.taken, 0);

    // Two marks: each refills the table in turn, so the higher case decides the sheet.
    CaseWindowStates both = marked(DivisionCase::I, DivisorDigits::OneDigit);
    both[4] = {"5", DivisorDigits::TwoDigits};
    RecordingPrinter first;
    const WorksheetOptions options{2, 4, 1, heading};
    printWorksheets(options, both, counting.source, first, table, ",");
    CountingSource expected(3);
    inventions(DivisionCase::I, DivisorDigits::OneDigit, expected.source);
    auto calls = sheet(options, inventions(DivisionCase::V, DivisorDigits::TwoDigits, expected.source));
    calls.insert(calls.end(), {"page", "end"});
    EXPECT_EQ(first.calls, calls);
    EXPECT_EQ(counting.taken, expected.taken);

    // The next job draws on; with the case window closed the last sheet comes out again.
    RecordingPrinter second;
    RecordingPrinter reprint;
    printWorksheets(options, both, counting.source, second, table, ",");
    EXPECT_NE(second.calls, first.calls);
    const long taken = counting.taken;
    EXPECT_EQ(printWorksheets(options, CaseWindowStates{}, counting.source, reprint, table, ","), PrintOutcome::Done);
    EXPECT_EQ(reprint.calls, second.calls);
    EXPECT_EQ(counting.taken, taken);
}

}  // namespace
