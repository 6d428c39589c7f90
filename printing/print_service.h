#pragma once

#include <QObject>
#include <QPageLayout>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/random_source.h"
#include "printing/case_window_state.h"
#include "printing/sheet_printer.h"
#include "printing/worksheet.h"

class QThread;

namespace ripartino {

// Which case window asked for printing, if one did.
using MarkedCaseReader = std::function<std::optional<MarkedCase>()>;
// Where jobs print; unset or giving null, on the print service's default destination.
using PrinterFactory = std::function<std::unique_ptr<SheetPrinter>()>;

// The print window's work, without a window: it keeps the sheet's exercises and the
// operations choice for the whole run, invents on the caller's (GUI) thread, where the
// random source lives, and draws and hands the sheets over on a worker thread, so that
// the windows go on painting while a long job runs or the print service keeps silent.
class PrintService : public QObject {
    Q_OBJECT
public:
    PrintService(RandomSource& source, std::string decimalSeparator, MarkedCaseReader readMarkedCase);
    ~PrintService() override;

    void setPrinterFactory(PrinterFactory makePrinter) { makePrinter_ = std::move(makePrinter); }

    // The print window's `blocks`, kept while the window is closed.
    int blocks = 1;

    // Invents the sheet and starts printing it. A job refused before anything is drawn
    // (TooManyCopies, NothingToPrint) answers at once; otherwise finished() follows.
    std::optional<PrintOutcome> print(const WorksheetOptions& options);
    // The last job's sheets, as they were or would have been printed, into a PDF file;
    // finished() follows. A cancelled save leaves no file.
    void saveAsPdf(const QString& fileName);
    // Stops the running job before it is handed over; finished() says Cancelled.
    void cancel() { cancelled_ = true; }

    bool running() const { return worker_ != nullptr; }
    // Sheets drawn so far by the running job, and how many it draws.
    int sheetsDone() const { return sheetsDone_; }
    int sheets() const;
    // The case whose exercises the sheet carries.
    std::optional<DivisionCase> sheetCase() const { return sheetCase_; }

signals:
    void finished(PrintOutcome outcome);

private:
    // Draws the sheets on `printer` in a worker. A printer of the service's own
    // (`ownPrinter` set) is shown to `ownPrinter` and let go in the worker; one that
    // the factory gave is let go here.
    void run(std::unique_ptr<SheetPrinter> printer, std::function<void(SheetPrinter&)> ownPrinter);
    void onWorkerDone();

    RandomSource& source_;
    const std::string decimalSeparator_;
    MarkedCaseReader readMarkedCase_;
    PrinterFactory makePrinter_;
    WorksheetTable table_;
    WorksheetOptions options_;
    std::optional<DivisionCase> sheetCase_;
    QPageLayout layout_;                     // the paper of the last printer asked, for saving the same sheets
    std::unique_ptr<SheetPrinter> printer_;  // the running job's
    QString savingTo_;                       // the PDF file being saved, if that is the job
    QThread* worker_ = nullptr;
    std::atomic_bool cancelled_ = false;
    std::atomic_int sheetsDone_ = 0;
    PrintOutcome outcome_ = PrintOutcome::Done;
};

// Where "Salva come PDF..." proposes to save a sheet of `divisionCase` (documents folder).
QString defaultPdfPath(DivisionCase divisionCase);

}  // namespace ripartino
