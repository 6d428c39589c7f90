#include "printing/worksheet.h"

#include <cmath>
#include <cstddef>
#include <string_view>

#include "core/answers.h"
#include "core/generators.h"

namespace ripartino {

namespace {

const std::string headingFace = "Comic Sans MS";
constexpr double headingPoints = 18;
const std::string exerciseFace = "Arial";
constexpr double gapPoints = 6;
constexpr double exercisePoints = 15;

const std::string blockIndent = "   ";
const std::string leftIndent = "        ";
const std::string rightIndent = "     ";
const std::string answerSpace = " ........";
const std::string solutionsTitle = "Soluzioni";

// The answer to a sheet line "dividend : divisor =", read from the numbers as printed;
// the dots again should the line not be a division.
std::string answerTo(const std::string& line, const std::string& decimalSeparator)
{
    const std::size_t colon = line.find(" : ");
    const std::size_t equals = line.size() - 2;
    if (colon == std::string::npos || line.size() < colon + 5 || line.compare(equals, 2, " =") != 0)
        return answerSpace;
    const std::string_view text = line;
    const auto answer =
        writtenDivisionAnswer(text.substr(0, colon), text.substr(colon + 3, equals - colon - 3), decimalSeparator);
    return answer ? ' ' + *answer : answerSpace;
}

// Copies carry the dots after each exercise; the solution sheet (`solved`) its answer, in
// the place of the dots, so that its columns stand where the copies' do.
PrintItem exerciseItem(const std::string& indent, const std::optional<std::string>& line, const std::string* solved,
                       int zoneAdvances = 0)
{
    std::string copy = indent + line.value_or(std::string()) + answerSpace;
    if (!solved || !line)
        return {std::move(copy), zoneAdvances};
    return {indent + *line + answerTo(*line, *solved), zoneAdvances, std::move(copy)};
}

void printSheet(const WorksheetOptions& options, const WorksheetTable& table, SheetPrinter& printer, bool solutions)
{
    const std::string* solved = solutions ? &table.decimalSeparator() : nullptr;
    const std::string heading = !solutions ? options.heading
        : options.heading.empty()          ? solutionsTitle
                                           : solutionsTitle + " - " + options.heading;
    printer.printLine({{}});
    printer.setFontName(headingFace);
    printer.setFontSize(headingPoints);
    printer.printLine({{"  " + heading}});
    printer.setFontName(exerciseFace);
    printer.setFontSize(gapPoints);
    printer.printLine({{}});
    printer.setFontSize(exercisePoints);

    for (int k = 1; k <= options.blocks; ++k) {
        // A block goes on the next page whole, with its number.
        if (options.columns == 1 || options.columns == 2)
            printer.keepTogether(1 + WorksheetTable::rows);
        if (options.columns == 1) {
            printer.printLine({{blockIndent + std::to_string(k) + ")"}});
            for (int r = 1; r <= WorksheetTable::rows; ++r)
                printer.printLine({exerciseItem(leftIndent, table.slot(2 * k - 1, r), solved)});
        } else if (options.columns == 2) {
            printer.printLine({{blockIndent + std::to_string(2 * k - 1) + ")"}, {std::to_string(2 * k) + ")", 2}});
            for (int r = 1; r <= WorksheetTable::rows; ++r)
                printer.printLine({exerciseItem(leftIndent, table.slot(2 * k - 1, r), solved),
                                   exerciseItem(rightIndent, table.slot(2 * k, r), solved, 1)});
        }
    }
}

bool tooManyCopies(const WorksheetOptions& options)
{
    return std::isnan(options.copies) || wholeCopies(options.copies) > maximumCopies;
}

void inventSheet(const MarkedCase& marked, RandomSource& source, WorksheetTable& table,
                 const std::string& decimalSeparator)
{
    const CaseGenerator generator(marked.divisionCase);
    table.setDecimalSeparator(decimalSeparator);
    for (int group = 1; group <= WorksheetTable::groups; ++group) {
        const ExerciseSet exercises = generator.invent(marked.divisorDigits, source, decimalSeparator);
        for (int row = 1; row <= WorksheetTable::rows; ++row)
            table.setSlot(group, row, sheetLine(exercises[static_cast<std::size_t>(row - 1)]));
    }
}

}  // namespace

double wholeCopies(double copies) { return copies >= 1 ? std::floor(copies) : 0; }

const std::optional<std::string>& WorksheetTable::slot(int group, int row) const
{
    return slots_.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(row - 1));
}

void WorksheetTable::setSlot(int group, int row, std::string line)
{
    slots_.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(row - 1)) = std::move(line);
}

bool WorksheetTable::isFilled() const
{
    // A job overwrites all 80 slots, so one tells for all.
    return slot(1, 1).has_value();
}

std::string sheetLine(const Exercise& exercise)
{
    std::string line = exercise.line;
    if (!line.empty())
        line.pop_back();
    return line;
}

PrintOutcome prepareSheets(const WorksheetOptions& options, const MarkedCase* marked, RandomSource& source,
                           WorksheetTable& table, const std::string& decimalSeparator)
{
    if (tooManyCopies(options))
        return PrintOutcome::TooManyCopies;
    if (marked)
        inventSheet(*marked, source, table, decimalSeparator);
    if (wholeCopies(options.copies) >= 1 && !table.isFilled())
        return PrintOutcome::NothingToPrint;
    return PrintOutcome::Done;
}

PrintOutcome printSheets(const WorksheetOptions& options, const WorksheetTable& table, SheetPrinter& printer,
                         const std::function<bool(int sheet)>& beforeSheet)
{
    const double copies = wholeCopies(options.copies);
    // The answers go with the copies: a job of no copies prints no solutions either.
    const double sheets = copies + (options.solutions && copies >= 1 ? 1 : 0);
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        if (beforeSheet && !beforeSheet(sheet))
            return PrintOutcome::Cancelled;
        printSheet(options, table, printer, sheet > copies);
        if (printer.status() != PrintOutcome::Done)
            return printer.status();
        printer.newPage();
    }
    // Nor is a job handed over that was stopped while its last sheet was drawn.
    if (beforeSheet && !beforeSheet(static_cast<int>(sheets) + 1))
        return PrintOutcome::Cancelled;
    printer.endDocument();
    return printer.status();
}

}  // namespace ripartino
