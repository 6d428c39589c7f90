#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/generators.h"
#include "printing/worksheet.h"
#include "support/recording_printer.h"

using namespace ripartino;
using enum DivisionCase;
using enum DivisorDigits;

namespace {

const std::string heading = "Calcola le seguenti operazioni:";

RandomSource seeded(std::uint64_t seed)
{
    RandomSource source;
    source.seed(seed);
    return source;
}

CaseWindowStates marked(DivisionCase divisionCase, DivisorDigits digits, const char* mark = nullptr)
{
    CaseWindowStates windows;
    windows[static_cast<std::size_t>(divisionCase) - 1] = {mark ? mark : caseDigit(divisionCase), digits};
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
    const char* mark = nullptr;  // instead of the window's own digit
};

class PrintJob : public testing::TestWithParam<JobRow> {};

// A whole job against the layout table: every call of every copy, the table and the draws.
TEST_P(PrintJob, PrintsTheSheetsOfOneInvention)
{
    const JobRow& job = GetParam();
    RandomSource expectedSource = seeded(7), source = seeded(7);
    const std::vector<std::string> lines = inventions(job.divisionCase, job.digits, expectedSource);
    RecordingPrinter printer;
    printer.failure = job.failure;
    WorksheetTable table;
    EXPECT_EQ(printWorksheets(job.options, marked(job.divisionCase, job.digits, job.mark), source, printer, table, ","),
              job.outcome);

    std::vector<std::string> expected;
    for (int copy = 0; copy < job.sheets; ++copy) {
        const auto calls = sheet(job.options, lines);
        expected.insert(expected.end(), calls.begin(), calls.end());
        if (job.failure == PrinterStatus::Ready)
            expected.push_back("page");
    }
    if (job.outcome == PrintOutcome::Done)
        expected.push_back("end");
    EXPECT_EQ(printer.calls, expected);
    // One invention, whatever the copies; none for a refused job or a foreign mark.
    const bool invents = !job.mark && job.outcome != PrintOutcome::TooManyCopies;
    EXPECT_EQ(source.nextUniform(), (invents ? expectedSource : seeded(7)).nextUniform());
    for (int slot = 0; slot < 80; ++slot)
        EXPECT_EQ(table.slot(slot / 10 + 1, slot % 10 + 1), invents ? std::optional(lines[slot]) : std::nullopt);
}

const JobRow jobRows[] = {
    {"ExampleOneColumnOfTen", I, Mixed, {1, 1, 1, heading}, 1},
    {"OneColumnOfForty", III, TwoDigits, {1, 4, 1, heading}, 1},
    {"TwoColumnsOfForty", III, TwoDigits, {2, 4, 1, heading}, 1},
    {"NoColumnsChosen", V, Mixed, {0, 4, 2, " Titolo  "}, 2},
    {"EmptyHeading", II, OneDigit, {1, 1, 1, ""}, 1},
    {"ThreeCopies", IV, OneDigit, {2, 2, 3, "x"}, 3},
    {"WholeCopiesOnly", V, TwoDigits, {2, 3, 2.5, "x"}, 2},
    {"MostCopies", II, Mixed, {2, 1, 999, "x"}, 999},
    {"NoCopies", II, OneDigit, {2, 2, 0, "x"}, 0},
    {"LessThanOneCopy", I, OneDigit, {2, 2, 0.99, "x"}, 0},
    {"NegativeCopies", I, OneDigit, {2, 2, -1, "x"}, 0},
    {"ThousandCopies", I, Mixed, {1, 1, 1000, ""}, 0, PrintOutcome::TooManyCopies},
    {"JustOverTheMost", I, Mixed, {1, 1, 999.999 + 1, ""}, 0, PrintOutcome::TooManyCopies},
    {"OverflowedCopies", I, Mixed, {1, 1, 1e300, ""}, 0, PrintOutcome::TooManyCopies},
    {"InfiniteCopies", I, Mixed, {1, 1, HUGE_VAL, ""}, 0, PrintOutcome::TooManyCopies},
    {"NotANumber", I, Mixed, {1, 1, NAN, ""}, 0, PrintOutcome::TooManyCopies},
    // Only a window's own digit marks it; an empty table gives nothing to print.
    {"ForeignMark", I, Mixed, {1, 1, 1, ""}, 0, PrintOutcome::NothingToPrint, PrinterStatus::Ready, "2"},
    {"BlankInMark", II, Mixed, {1, 1, 1, ""}, 0, PrintOutcome::NothingToPrint, PrinterStatus::Ready, " 2"},
    {"ForeignMarkNoCopies", I, Mixed, {1, 1, 0, ""}, 0, PrintOutcome::Done, PrinterStatus::Ready, "2"},
    {"NoPrinter", I, Mixed, {1, 1, 3, ""}, 1, PrintOutcome::NoDefaultPrinter, PrinterStatus::NoDefaultPrinter},
    {"JobRefused", I, Mixed, {1, 1, 3, ""}, 1, PrintOutcome::JobRefused, PrinterStatus::JobRefused},
};
INSTANTIATE_TEST_SUITE_P(Rows, PrintJob, testing::ValuesIn(jobRows), [](const auto& row) { return row.param.name; });

// The print window's table across a run: marks decide what is invented, the table stays.
TEST(PrintWorksheets, KeepsTheTableAcrossJobsAndInventsOnlyForTheMarkedCase)
{
    // Two marks: each refills the table in turn, so the higher case decides the sheet.
    RandomSource source = seeded(3);
    WorksheetTable table;
    CaseWindowStates windows = marked(I, OneDigit);
    windows[4] = {"5", TwoDigits};
    const WorksheetOptions options{2, 4, 1, heading};
    RecordingPrinter first, second, reprint;
    printWorksheets(options, windows, source, first, table, ",");
    RandomSource expected = seeded(3);
    inventions(I, OneDigit, expected);
    auto calls = sheet(options, inventions(V, TwoDigits, expected));
    calls.insert(calls.end(), {"page", "end"});
    EXPECT_EQ(first.calls, calls);

    // The next job draws on; with the case window closed the last sheet comes out again.
    printWorksheets(options, windows, source, second, table, ",");
    EXPECT_NE(second.calls, first.calls);
    EXPECT_EQ(printWorksheets(options, CaseWindowStates{}, source, reprint, table, ","), PrintOutcome::Done);
    EXPECT_EQ(reprint.calls, second.calls);
    inventions(I, OneDigit, expected);
    inventions(V, TwoDigits, expected);
    EXPECT_EQ(source.nextUniform(), expected.nextUniform());
}

}  // namespace
