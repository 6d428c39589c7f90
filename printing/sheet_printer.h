#pragma once

#include <string>
#include <vector>

namespace ripartino {

// One piece of text on a printed line, and how many print-zone advances come before it.
struct PrintItem {
    std::string text;
    int zoneAdvancesBefore = 0;

    bool operator==(const PrintItem&) const = default;
};

using PrintLine = std::vector<PrintItem>;

enum class PrinterStatus {
    Ready,                // nothing has gone wrong so far
    NoDefaultPrinter,     // there is no printer to send the job to
    JobRefused,           // the printer or the print system would not take the job
    ServiceNotRunning,    // nothing listens where the print service should be
    ServiceNotAnswering,  // the print service took the connection but did not answer in time
    Cancelled,            // the user stopped the job before it was handed over
    NotWritten,           // the sheets could not be written whole to the job's file (a full disk)
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
    // The next line starts on a fresh sheet; a newPage with nothing printed after it
    // adds no sheet.
    virtual void newPage() = 0;
    // Hands the job to the print system; a job in which nothing was printed sends nothing.
    virtual void endDocument() = 0;
    // Once it is no longer Ready, the printer ignores further lines.
    virtual PrinterStatus status() const = 0;
};

}  // namespace ripartino
