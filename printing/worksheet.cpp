#include "printing/worksheet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

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

// The answer to an exercise, worked from its numbers as printed; the dots again should
// the division not be carried out.
std::string answerTo(const Exercise& exercise, const std::string& decimalSeparator)
{
    const auto answer = writtenDivisionAnswer(exercise.dividend.text(decimalSeparator),
                                              exercise.divisor.text(decimalSeparator), decimalSeparator);
    return answer ? ' ' + *answer : answerSpace;
}

// Copies carry the dots after each exercise; the solution sheet (`solved`) its answer, in
// the place of the dots, so that its columns stand where the copies' do.
PrintItem exerciseItem(const std::string& indent, const std::optional<Exercise>& exercise, const std::string* solved,
                       int zoneAdvances = 0)
{
    std::string copy = indent + (exercise ? sheetLine(*exercise) : std::string()) + answerSpace;
    if (!solved || !exercise)
        return {std::move(copy), zoneAdvances};
    return {indent + sheetLine(*exercise) + answerTo(*exercise, *solved), zoneAdvances, std::move(copy)};
}

std::string solutionsHeading(const WorksheetOptions& options)
{
    return options.heading.empty() ? solutionsTitle : solutionsTitle + " - " + options.heading;
}

// The top of every sheet: an empty line, where a version's code goes, the heading, and a
// narrow empty line (`narrow`, which may head columns below it).
void printHeading(const std::string& heading, const std::string& code, const PrintLine& narrow, SheetPrinter& printer)
{
    printer.printLine({{}});
    if (!code.empty())
        printer.setSheetCode(code);
    printer.setFontName(headingFace);
    printer.setFontSize(headingPoints);
    printer.mayWrap();
    printer.printLine({{"  " + heading}});
    printer.setFontName(exerciseFace);
    printer.setFontSize(gapPoints);
    printer.printLine(narrow);
}

void printSheet(const WorksheetOptions& options, const WorksheetTable& table, SheetPrinter& printer, bool solutions,
                const std::string& code)
{
    const std::string* solved = solutions ? &table.decimalSeparator() : nullptr;
    printHeading(solutions ? solutionsHeading(options) : options.heading, code, {{}}, printer);
    printer.setFontSize(exercisePoints);

    for (int k = 1; k <= options.blocks; ++k) {
        // A block goes on the next page whole, with its number.
        if (options.columns == 1 || options.columns == 2)
            printer.keepTogether(1 + WorksheetTable::rows);
        if (options.columns == 1) {
            printer.printLine({{blockIndent + std::to_string(k) + ")"}});
            for (int r = 1; r <= WorksheetTable::rows; ++r)
                printer.printLine({exerciseItem(leftIndent, table.exercise(2 * k - 1, r), solved)});
        } else if (options.columns == 2) {
            printer.printLine({{blockIndent + std::to_string(2 * k - 1) + ")"}, {std::to_string(2 * k) + ")", 2}});
            for (int r = 1; r <= WorksheetTable::rows; ++r)
                printer.printLine({exerciseItem(leftIndent, table.exercise(2 * k - 1, r), solved),
                                   exerciseItem(rightIndent, table.exercise(2 * k, r), solved, 1)});
        }
    }
}

std::string versionCode(int version) { return "Scheda " + std::to_string(version); }

// The key's pages: as many columns of lines, in a size still easy to read once A4 or
// Letter has shrunk them to its width, as the longest answers leave room for, and as many
// rows as such a page holds below the heading.
constexpr double keyPoints = 10;
constexpr int keyColumns = 2;
constexpr int keyRows = 66;
const std::string keyGap = "    ";

// The groups a sheet shows, in their numbers' order.
std::vector<int> groupsOnSheet(const WorksheetOptions& options)
{
    std::vector<int> groups;
    for (int k = 1; k <= options.blocks; ++k) {
        if (options.columns >= 1)
            groups.push_back(2 * k - 1);
        if (options.columns == 2)
            groups.push_back(2 * k);
    }
    return groups;
}

// A version in the key: its code, then each exercise answered.
int keyLines(const WorksheetOptions& options)
{
    return 1 + static_cast<int>(groupsOnSheet(options).size()) * WorksheetTable::rows;
}

// Where a version's code stands in the key: its page, and its row counted down the page's
// columns one after the other (row % keyRows in column row / keyRows).
struct KeySpot {
    int page = 0;
    int at = 0;
};

// Versions in order down the columns, a blank row between two, each whole on one page: one
// that fits a column stays in it, a longer one runs on from the foot of a column to the top
// of the next.
std::vector<KeySpot> keySpots(int versions, int lines)
{
    std::vector<KeySpot> spots;
    KeySpot next;
    for (int v = 0; v < versions; ++v) {
        if (const int row = next.at % keyRows; row != 0)
            next.at += lines <= keyRows && row + 1 + lines > keyRows ? keyRows - row : 1;
        // No sheet has so many exercises that a version is longer than a page.
        if (next.at > 0 && next.at + lines > keyColumns * keyRows)
            next = {next.page + 1, 0};
        spots.push_back(next);
        next.at += lines;
    }
    return spots;
}

void printKeyPage(const WorksheetOptions& options, const WorksheetVersions& versions, const std::vector<KeySpot>& spots,
                  int page, SheetPrinter& printer)
{
    const std::vector<int> groups = groupsOnSheet(options);
    std::vector<std::array<std::string, keyColumns>> rows(keyRows);
    std::size_t used = 0;
    const auto first = std::ranges::lower_bound(spots, page, {}, &KeySpot::page);
    for (auto spot = first; spot != spots.end() && spot->page == page; ++spot) {
        const auto version = static_cast<std::size_t>(spot - spots.begin());
        const WorksheetTable& table = versions[version];
        int at = spot->at;
        const auto put = [&](std::string text) {
            const auto row = static_cast<std::size_t>(at % keyRows);
            rows[row][static_cast<std::size_t>(at / keyRows)] = std::move(text);
            used = std::max(used, row + 1);
            ++at;
        };
        put(versionCode(static_cast<int>(version) + 1));
        for (const int group : groups)
            for (int r = 1; r <= WorksheetTable::rows; ++r)
                put(exerciseItem(blockIndent, table.exercise(group, r), &table.decimalSeparator()).text);
    }
    // The narrow line heads the columns, so that each stands straight down the page.
    PrintLine heads(keyColumns, {{}, 2});
    heads.front().zoneAdvancesBefore = 0;
    printHeading(solutionsHeading(options), {}, heads, printer);
    printer.setFontSize(keyPoints);
    // Below a heading too long for the page, the versions go on the next one whole.
    printer.keepTogether(static_cast<int>(used));
    for (std::size_t r = 0; r < used; ++r) {
        PrintLine line;
        for (std::size_t column = 0; column < keyColumns; ++column)
            line.push_back({rows[r][column], column == 0 ? 0 : 1});
        // Blanks after each but the last keep a column clear of the next, however long its texts.
        for (std::size_t column = 0; column + 1 < keyColumns; ++column)
            line[column].text += keyGap;
        printer.printLine(line);
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
            table.setSlot(group, row, exercises[static_cast<std::size_t>(row - 1)]);
    }
}

}  // namespace

double wholeCopies(double copies) { return copies >= 1 ? std::floor(copies) : 0; }

const std::optional<Exercise>& WorksheetTable::exercise(int group, int row) const
{
    return slots_.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(row - 1));
}

std::optional<std::string> WorksheetTable::slot(int group, int row) const
{
    const std::optional<Exercise>& filled = exercise(group, row);
    return filled ? std::optional(sheetLine(*filled)) : std::nullopt;
}

void WorksheetTable::setSlot(int group, int row, Exercise exercise)
{
    slots_.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(row - 1)) = std::move(exercise);
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
                           WorksheetVersions& versions, const std::string& decimalSeparator)
{
    if (tooManyCopies(options))
        return PrintOutcome::TooManyCopies;
    const double copies = wholeCopies(options.copies);
    const auto wanted = static_cast<std::size_t>(options.different ? std::max(copies, 1.0) : 1);
    if (marked) {
        versions.assign(wanted, {});
        for (WorksheetTable& table : versions)
            inventSheet(*marked, source, table, decimalSeparator);
    }
    if (copies >= 1 && (versions.size() < wanted || !versions.front().isFilled()))
        return PrintOutcome::NothingToPrint;
    return PrintOutcome::Done;
}

int sheetCount(const WorksheetOptions& options)
{
    const int copies = static_cast<int>(wholeCopies(options.copies));
    // The answers go with the copies: a job of no copies prints no solutions either.
    if (!options.solutions || copies < 1)
        return copies;
    return copies + (options.different ? keySpots(copies, keyLines(options)).back().page + 1 : 1);
}

PrintOutcome printSheets(const WorksheetOptions& options, const WorksheetVersions& versions, SheetPrinter& printer,
                         const std::function<bool(int sheet)>& beforeSheet)
{
    const int copies = static_cast<int>(wholeCopies(options.copies));
    const int sheets = sheetCount(options);
    const std::vector<KeySpot> spots =
        options.different && sheets > copies ? keySpots(copies, keyLines(options)) : std::vector<KeySpot>();
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        if (beforeSheet && !beforeSheet(sheet))
            return PrintOutcome::Cancelled;
        if (!options.different)
            printSheet(options, versions.front(), printer, sheet > copies, {});
        else if (sheet <= copies)
            printSheet(options, versions[static_cast<std::size_t>(sheet - 1)], printer, false, versionCode(sheet));
        else
            printKeyPage(options, versions, spots, sheet - copies - 1, printer);
        if (printer.status() != PrintOutcome::Done)
            return printer.status();
        printer.newPage();
    }
    // Nor is a job handed over that was stopped while its last sheet was drawn.
    if (beforeSheet && !beforeSheet(sheets + 1))
        return PrintOutcome::Cancelled;
    printer.endDocument();
    return printer.status();
}

}  // namespace ripartino
