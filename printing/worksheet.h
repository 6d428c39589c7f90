#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/random_source.h"
#include "core/types.h"
#include "printing/case_window_state.h"
#include "printing/sheet_printer.h"

namespace ripartino {

// The choices of one print job, as the print window holds them when "&OK" is pressed.
struct WorksheetOptions {
    int columns = 0;    // 0 (neither option chosen), 1 or 2
    int blocks = 1;     // blocks of ten operations per column, 1 to 4
    double copies = 1;  // as read from the copies box; sheets = whole copies up to it
    std::string heading = "Calcola le seguenti operazioni:";
    bool solutions = false;  // after the copies, one sheet with every exercise answered
};

// The five case windows as the print job sees them, in case order I to V.
using CaseWindowStates = std::array<CaseWindowState, 5>;

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

enum class PrintOutcome {
    Done,                 // the sheets were printed (none when copies were below 1)
    NothingToPrint,       // no case window was marked and no earlier job filled the table
    TooManyCopies,        // refused before anything was invented or printed
    NoDefaultPrinter,     // nothing reached the printer
    JobRefused,           // the print system would not take the job
    ServiceNotRunning,    // nothing was handed over: no print service to talk to
    ServiceNotAnswering,  // nothing was handed over: the print service did not answer
    Cancelled,            // the user stopped the job before it was handed over
    NotWritten,           // nothing was handed over: the sheets could not be written whole
};

inline constexpr double maximumCopies = 999;

// An exercise as it stands on paper: its line without the trailing blank.
std::string sheetLine(const Exercise& exercise);

// The first half of a job, on the caller's thread: refuses absurd copies, invents the
// marked case's 8 groups of 10 into `table` (without reseeding `source`), and says
// NothingToPrint when there is neither a marked case nor an earlier sheet. Done: print.
PrintOutcome prepareSheets(const WorksheetOptions& options, const MarkedCase* marked, RandomSource& source,
                           WorksheetTable& table, const std::string& decimalSeparator);

// The second half: the copies of the sheet in `table`, then with `solutions` one sheet
// more with the answers (numbered copies + 1). `beforeSheet` (1, 2, ...) may stop
// the job before a sheet; the document is then left unended and the outcome is Cancelled.
PrintOutcome printSheets(const WorksheetOptions& options, const WorksheetTable& table, SheetPrinter& printer,
                         const std::function<bool(int sheet)>& beforeSheet = {});

// The print job of the print window's "&OK": invents 8 groups of 10 exercises of the
// marked case into `table` (without reseeding `source`), then prints the copies.
PrintOutcome printWorksheets(const WorksheetOptions& options, const CaseWindowStates& caseWindows, RandomSource& source,
                             SheetPrinter& printer, WorksheetTable& table, const std::string& decimalSeparator);

}  // namespace ripartino
