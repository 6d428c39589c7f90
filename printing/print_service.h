#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QString>

#include "core/random_source.h"
#include "printing/sheet_printer.h"
#include "printing/worksheet.h"

class QThread;

namespace ripartino {

// Which case window asked for printing, if one did.
using MarkedCaseReader = std::function<std::optional<MarkedCase>()>;
// Where jobs print; unset or giving null, on the system's default printer.
using PrinterFactory = std::function<std::unique_ptr<SheetPrinter>()>;

// The print window's work, without a window: it keeps the sheets' exercises and the
// operations choice for the whole run, invents on the caller's (GUI) thread, where the
// random source lives, and draws and hands the sheets over on a worker thread, so that
// the windows go on painting while a long job runs or the print service keeps silent.
// Nothing waits for a worker: a cancelled job ends at once for the caller, and its worker,
// which may be stuck in the print service, finishes alone on state of its own.
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
    // The same job as print() into the PDF file `fileName`, on the default printer's paper
    // (A4 without one, or when it is too small for the sheet), sending nothing to the printer.
    std::optional<PrintOutcome> saveAsPdf(const WorksheetOptions& options, const QString& fileName);
    // The last job's sheets, as they were or would have been printed (on A4 when the
    // paper was too small for them), into a PDF file; finished() follows.
    void saveLastAsPdf(const QString& fileName);
    // Ends the running job at once with Cancelled: nothing of it reaches the printer or the
    // file afterwards.
    void cancel();

    bool running() const { return job_ != nullptr; }
    // Sheets drawn so far by the running job, and how many it draws.
    int sheetsDone() const;
    int sheets() const;
    // The case whose exercises the sheet carries.
    std::optional<DivisionCase> sheetCase() const { return sheetCase_; }
    // The case a job started now would print: the marked one, else the last sheet's.
    std::optional<DivisionCase> nextSheetCase() const
    {
        const std::optional<MarkedCase> marked = readMarkedCase_();
        return marked ? marked->divisionCase : sheetCase_;
    }
    // Why the last save failed, in the system's words.
    QString failureReason() const { return failureReason_; }

signals:
    // A saved file is complete when it says Done; otherwise there is none, and an older
    // file of that name is as it was.
    void finished(PrintOutcome outcome);

private:
    struct Job;
    // Invents the sheet for a job of `options`; says why not when it cannot run.
    std::optional<PrintOutcome> prepare(const WorksheetOptions& options);
    // The sheets of the last job drawn on a worker: on `printer` when given, else on the
    // system printer, or into `saveTo` (on the default printer's paper with `askPaper`).
    void run(std::unique_ptr<SheetPrinter> printer, const QString& saveTo = {}, bool askPaper = false);
    void onJobDone(const std::shared_ptr<Job>& job);

    RandomSource& source_;
    const std::string decimalSeparator_;
    MarkedCaseReader readMarkedCase_;
    PrinterFactory makePrinter_;
    // The last job's sheets, shared with its worker: a later job invents into new ones.
    std::shared_ptr<WorksheetVersions> versions_ = std::make_shared<WorksheetVersions>();
    WorksheetOptions options_;
    std::optional<DivisionCase> sheetCase_;
    QPageLayout layout_;        // the paper of the last printer asked, for saving the same sheets
    std::shared_ptr<Job> job_;  // the running one
    std::vector<QPointer<QThread>> workers_;
    QString failureReason_;
};

// Where "Salva come PDF..." proposes to save a sheet of `divisionCase` (documents folder).
QString defaultPdfPath(DivisionCase divisionCase);

}  // namespace ripartino
