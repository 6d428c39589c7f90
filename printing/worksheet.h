#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

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
};

// The case window that asked for printing, as the job needs it.
struct MarkedCase {
    DivisionCase divisionCase = DivisionCase::I;
    DivisorDigits divisorDigits = DivisorDigits::Mixed;
};

// The exercises of a sheet: 8 groups of 10 slots, kept by the print window across jobs.
class WorksheetTable {
public:
    static constexpr int groups = 8;
    static constexpr int rows = 10;

    // group 1..8, row 1..10; empty until a job fills the slot.
    const std::optional<std::string>& slot(int group, int row) const;
    void setSlot(int group, int row, std::string line);
    bool isFilled() const;

    // The separator the lines' numbers are written with, which their answers use too.
    const std::string& decimalSeparator() const { return decimalSeparator_; }
    void setDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

private:
    std::array<std::array<std::optional<std::string>, rows>, groups> slots_;
    std::string decimalSeparator_ = ",";
};

inline constexpr double maximumCopies = 999;

// The sheets a number of copies gives: its whole part, none below one.
double wholeCopies(double copies);

// An exercise as it stands on paper: its line without the trailing blank.
std::string sheetLine(const Exercise& exercise);

// The first half of a job, on the caller's thread: refuses absurd copies, invents the
// marked case's 8 groups of 10 into `table` (without reseeding `source`), and says
// NothingToPrint when there is neither a marked case nor an earlier sheet. Done: print.
PrintOutcome prepareSheets(const WorksheetOptions& options, const MarkedCase* marked, RandomSource& source,
                           WorksheetTable& table, const std::string& decimalSeparator);

// The second half: the copies of the sheet in `table`, then with `solutions` one sheet
// more with the answers (numbered copies + 1). `beforeSheet` (1, 2, ..., and one past the
// last before the end) may stop the job there; the document is then left unended and the
// outcome is Cancelled.
PrintOutcome printSheets(const WorksheetOptions& options, const WorksheetTable& table, SheetPrinter& printer,
                         const std::function<bool(int sheet)>& beforeSheet = {});

}  // namespace ripartino
