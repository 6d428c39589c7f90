#pragma once

#include <string>
#include <vector>

namespace ripartino {

// One piece of text on a printed line, and how many print-zone advances come before it.
struct PrintItem {
    std::string text;
    int zoneAdvancesBefore = 0;
    // When set, the item takes the place this text would take, so that a sheet with longer
    // texts keeps another's columns; a text too long for that place is drawn smaller.
    std::string placeOf = {};

    bool operator==(const PrintItem&) const = default;
};

using PrintLine = std::vector<PrintItem>;

// How a print job ended; while it runs, how its printer stands (Done: nothing has gone
// wrong so far).
enum class PrintOutcome {
    Done,                 // the sheets were printed (none when copies were below 1)
    Paused,               // handed over to a paused printer: they wait in its queue until it goes on
    NothingToPrint,       // no case window was marked and no earlier job filled the table
    TooManyCopies,        // refused before anything was invented or printed
    NoDefaultPrinter,     // there is no printer to send the job to
    JobRefused,           // the printer, the print system or the file would not take the job
    ServiceNotRunning,    // nothing was handed over: nothing listens where the print service should be
    ServiceNotAnswering,  // nothing was handed over: the print service did not answer in time
    Cancelled,            // the user stopped the job before it was handed over
    NotWritten,           // the sheets could not be written whole to their file (a full disk): nothing was
                          // handed over, no file was left
    PaperTooSmall,        // a sheet's lines would have to shrink too far to be read, or else wrap: nothing was
                          // handed over
};

// What the worksheet job needs of a printer. The first printLine begins the job.
class SheetPrinter {
public:
    virtual ~SheetPrinter() = default;

    virtual void setFontName(const std::string& face) = 0;
    virtual void setFontSize(double points) = 0;
    // Items left to right from the left edge, then down one line height of the current
    // font. A single empty item only moves down.
    virtual void printLine(const PrintLine& items) = 0;
    // The code of the sheet being printed, set after its first line (which the sheet
    // leaves empty for it): drawn in small type at the top right of the sheet's page.
    virtual void setSheetCode(const std::string& code) = 0;
    // The next line starts on a fresh sheet; a newPage with nothing printed after it
    // adds no sheet.
    virtual void newPage() = 0;
    // The next `lines` lines stand on one page, unless they are too many for any.
    virtual void keepTogether(int lines) { static_cast<void>(lines); }
    // The next line may go on on further rows where it is too wide for the paper, as a
    // heading does; the others stand whole on theirs.
    virtual void mayWrap() {}
    // Hands the job to the print system; a job in which nothing was printed sends nothing.
    virtual void endDocument() = 0;
    // Once it is no longer Done, the printer ignores further lines.
    virtual PrintOutcome status() const = 0;
};

}  // namespace ripartino
