#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/answers.h"
#include "core/generators.h"
#include "printing/worksheet.h"
#include "support/recording_printer.h"

using namespace ripartino;
using enum DivisionCase;
using enum DivisorDigits;

namespace {

const std::string heading = "Calcola le seguenti operazioni:";

RandomSource seeded(int seed)
{
    RandomSource source;
    source.seed(seed);
    return source;
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

// The answer to a sheet line "dividend : divisor =", from its two numbers, after a blank.
std::string answerTo(const std::string& line)
{
    const std::size_t colon = line.find(" : ");
    return ' ' + *writtenDivisionAnswer(line.substr(0, colon), line.substr(colon + 3, line.size() - colon - 5), ",");
}

// A job's printer calls as the sheet's layout table has them, then the solution sheet when
// asked for; a job that did not finish has no solutions, page breaks or end.
std::vector<std::string> job(const WorksheetOptions& options, const std::vector<std::string>& lines, int sheets,
                             bool done = true)
{
    std::vector<std::string> calls;
    bool solved = false;
    const auto exercise = [&](const std::string& indent, int group, int row) {
        const std::string& line = lines[static_cast<std::size_t>((group - 1) * 10 + row - 1)];
        return "\"" + indent + line + (solved ? answerTo(line) : " ........") + "\"";
    };
    for (int copy = 0; copy < sheets + (options.solutions && done && sheets > 0); ++copy) {
        solved = copy == sheets;
        const std::string title =
            !solved ? options.heading : "Soluzioni" + (options.heading.empty() ? "" : " - " + options.heading);
        calls.insert(calls.end(),
                     {"line \"\"", "font Comic Sans MS", "size 18", "line \"  " + title + "\"", "font Arial", "size 6",
                      "line \"\"", "size 15"});
        for (int k = 1; k <= options.blocks && options.columns > 0; ++k) {
            const bool two = options.columns == 2;
            calls.push_back("line \"   " + std::to_string(two ? 2 * k - 1 : k) + ")\""
                            + (two ? " >> \"" + std::to_string(2 * k) + ")\"" : ""));
            for (int row = 1; row <= 10; ++row)
                calls.push_back("line " + exercise("        ", 2 * k - 1, row)
                                + (two ? " > " + exercise("     ", 2 * k, row) : ""));
        }
        if (done)
            calls.push_back("page");
    }
    if (done)
        calls.push_back("end");
    return calls;
}

// A job as the print service runs it: the invention, then the copies.
PrintOutcome runJob(const WorksheetOptions& options, std::optional<MarkedCase> marked, RandomSource& source,
                    SheetPrinter& printer, WorksheetTable& table)
{
    const PrintOutcome ready = prepareSheets(options, marked ? &*marked : nullptr, source, table, ",");
    return ready == PrintOutcome::Done ? printSheets(options, table, printer) : ready;
}

struct JobRow {
    const char* name;
    DivisionCase divisionCase;
    WorksheetOptions options;
    int sheets;
    PrintOutcome outcome = PrintOutcome::Done;
    PrintOutcome failure = PrintOutcome::Done;
    bool marked = true;  // the case window asked for the sheet
};

class PrintJob : public testing::TestWithParam<JobRow> {};

// A whole job against the layout table: every call of every copy, the table and the draws.
TEST_P(PrintJob, PrintsTheSheetsOfOneInvention)
{
    const JobRow& row = GetParam();
    RandomSource expectedSource = seeded(7), source = seeded(7);
    const std::vector<std::string> lines = inventions(row.divisionCase, Mixed, expectedSource);
    RecordingPrinter printer(row.failure);
    WorksheetTable table;
    const PrintOutcome outcome =
        runJob(row.options, row.marked ? std::optional(MarkedCase{row.divisionCase, Mixed}) : std::nullopt, source,
               printer, table);
    EXPECT_EQ(outcome, row.outcome);
    EXPECT_EQ(printer.calls, job(row.options, lines, row.sheets, outcome == PrintOutcome::Done));
    // One invention, whatever the copies, kept in the table; none for a refused or unmarked job.
    const bool invents = row.marked && outcome != PrintOutcome::TooManyCopies;
    for (int slot = 0; slot < 80; ++slot)
        EXPECT_EQ(table.slot(slot / 10 + 1, slot % 10 + 1), invents ? std::optional(lines[slot]) : std::nullopt);
}

const JobRow jobRows[] = {
    {"OneColumnOfForty", III, {1, 4, 1, heading}, 1},
    {"TwoColumnsOfForty", III, {2, 4, 1, heading}, 1},
    {"NoColumnsChosen", V, {0, 4, 2, " Titolo  "}, 2},
    {"WholeCopiesOnly", V, {2, 3, 2.5, "x"}, 2},
    {"MostCopies", II, {2, 1, 999, "x"}, 999},
    {"ThousandCopies", I, {1, 1, 1000, ""}, 0, PrintOutcome::TooManyCopies},
    {"NotANumber", I, {1, 1, NAN, ""}, 0, PrintOutcome::TooManyCopies},
    // No case window asked: an empty table gives nothing to print.
    {"Unmarked", I, {1, 1, 1, ""}, 0, PrintOutcome::NothingToPrint, PrintOutcome::Done, false},
    {"UnmarkedNoCopies", I, {1, 1, 0, ""}, 0, PrintOutcome::Done, PrintOutcome::Done, false},
    {"JobRefused", I, {1, 1, 3, ""}, 1, PrintOutcome::JobRefused, PrintOutcome::JobRefused},
    // The solutions: one sheet after the copies, none without copies or after a failure.
    {"ThreeCopiesEmptyHeadingAndSolutions", IV, {2, 2, 3, "", true}, 3},
    {"OneColumnAndSolutions", III, {1, 2, 1, heading, true}, 1},
    {"LessThanOneCopyNoSolutions", I, {2, 2, 0.99, "x", true}, 0},
    {"NoPrinterNoSolutions", I, {1, 1, 3, "", true}, 1, PrintOutcome::NoDefaultPrinter, PrintOutcome::NoDefaultPrinter},
};
INSTANTIATE_TEST_SUITE_P(Rows, PrintJob, testing::ValuesIn(jobRows), [](const auto& row) { return row.param.name; });

// Each answer follows its exercise where the dots were, in the table's separator (an empty
// slot keeps them); the solution sheet is the one after the copies.
TEST(PrintSheets, SolutionSheetAnswersInTheTablesSeparator)
{
    WorksheetTable table;
    table.setSlot(1, 1, "932.125 : 44 =");
    table.setSlot(1, 2, "1235 : 0.7 =");
    table.setSlot(1, 3, "7.5 : 3 =");
    table.setDecimalSeparator(".");
    RecordingPrinter printer;
    std::vector<int> asked;
    printSheets({1, 1, 1, "T", true}, table, printer, [&](int sheet) { return asked.push_back(sheet), true; });
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(std::vector(printer.calls.begin() + 29, printer.calls.begin() + 33),
              (std::vector<std::string>{"line \"        932.125 : 44 = 21.18 resto 0.205\"",
                                        "line \"        1235 : 0.7 = 1764.28 resto 0.04\"",
                                        "line \"        7.5 : 3 = 2.5\"", "line \"         ........\""}));
}

// The next job draws on, and with no case window marked the last sheet comes out again.
TEST(PrintSheets, KeepsTheTableAcrossJobs)
{
    RandomSource source = seeded(3), expected = seeded(3);
    WorksheetTable table;
    const WorksheetOptions options{2, 4, 1, heading};
    RecordingPrinter first, second, reprint;
    runJob(options, MarkedCase{V, TwoDigits}, source, first, table);
    EXPECT_EQ(first.calls, job(options, inventions(V, TwoDigits, expected), 1));
    runJob(options, MarkedCase{V, TwoDigits}, source, second, table);
    EXPECT_NE(second.calls, first.calls);
    EXPECT_EQ(runJob(options, std::nullopt, source, reprint, table), PrintOutcome::Done);
    EXPECT_EQ(reprint.calls, second.calls);
}

}  // namespace
