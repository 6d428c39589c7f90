#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/random_source.h"
#include "core/types.h"
#include "printing/sheet_printer.h"

namespace ripartino {

// The heading a sheet has until the user writes another.
inline constexpr const char* defaultHeading = "Calcola le seguenti operazioni:";

// The choices of one print job, as the print window holds them when "&OK" is pressed.
struct WorksheetOptions {
    int columns = 0;    // 0 (neither option chosen), 1 or 2
    int blocks = 1;     // blocks of ten operations per column, 1 to 4
    double copies = 1;  // as read from the copies box; sheets = whole copies up to it
    std::string heading = defaultHeading;
    bool solutions = false;  // after the copies, one sheet with every exercise answered
    bool different = false;  // every copy a version of its own, with its code; the solutions are then a key
};

// The case window that asked for printing, as the job needs it.
struct MarkedCase {
    DivisionCase divisionCase = DivisionCase::I;
    DivisorDigits divisorDigits = DivisorDigits::Mixed;
};

// The exercises of a sheet: 8 groups of 10 slots.
class WorksheetTable {
public:
    static constexpr int groups = 8;
    static constexpr int rows = 10;

    // group 1..8, row 1..10; empty until a job fills the slot.
    const std::optional<Exercise>& exercise(int group, int row) const;
    // The slot's exercise as it stands on paper (sheetLine).
    std::optional<std::string> slot(int group, int row) const;
    void setSlot(int group, int row, Exercise exercise);
    bool isFilled() const;

    // The separator the lines' numbers are written with, which their answers use too.
    const std::string& decimalSeparator() const { return decimalSeparator_; }
    void setDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

private:
    std::array<std::array<std::optional<Exercise>, rows>, groups> slots_;
    std::string decimalSeparator_ = ",";
};

// The sheets of a job, kept by the print window across jobs: one for identical copies,
// else one for each copy, in order.
using WorksheetVersions = std::vector<WorksheetTable>;

inline constexpr double maximumCopies = 999;

// The sheets a number of copies gives: its whole part, none below one.
double wholeCopies(double copies);

// An exercise as it stands on paper: its line without the trailing blank.
std::string sheetLine(const Exercise& exercise);

// The first half of a job, on the caller's thread: refuses absurd copies, invents the
// marked case's 8 groups of 10 into `versions` (without reseeding `source`), one table, or
// with `different` one for each copy, and says NothingToPrint when there is neither a
// marked case nor an earlier job with sheets enough. Done: print.
PrintOutcome prepareSheets(const WorksheetOptions& options, const MarkedCase* marked, RandomSource& source,
                           WorksheetVersions& versions, const std::string& decimalSeparator);

// The sheets printSheets draws: the copies, and the solution sheet or the key's pages.
int sheetCount(const WorksheetOptions& options);

// The second half: the copies of the sheet, each its own version with its code "Scheda k"
// with `different`; then with `solutions` one sheet more with the answers, or the key of
// every version (numbered on from copies + 1). `beforeSheet` (1, 2, ..., and one past the
// last before the end) may stop the job there; the document is then left unended and the
// outcome is Cancelled.
PrintOutcome printSheets(const WorksheetOptions& options, const WorksheetVersions& versions, SheetPrinter& printer,
                         const std::function<bool(int sheet)>& beforeSheet = {});

}  // namespace ripartino
